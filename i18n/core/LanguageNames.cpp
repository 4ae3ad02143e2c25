#include "i18n/core/LanguageNames.h"

#include <QLocale>

#include <unicode/ucnv.h>
#include <unicode/uloc.h>

#include <array>
#include <memory>
#include <vector>

namespace {

constexpr int kPrimaryLanguageMask = 0x3FF;
constexpr int kMaxDisplayName = 256;

struct CodePage
{
    int primaryLanguage;
    const char* converter;
};

// Primary language (low ten bits of the identifier) to the ANSI code page
// Windows writes its texts in; everything not listed uses windows-1252.
constexpr std::array<CodePage, 28> kCodePages{{
    {0x19, "windows-1251"}, // Russian
    {0x22, "windows-1251"}, // Ukrainian
    {0x23, "windows-1251"}, // Belarusian
    {0x02, "windows-1251"}, // Bulgarian
    {0x2F, "windows-1251"}, // Macedonian
    {0x3F, "windows-1251"}, // Kazakh
    {0x40, "windows-1251"}, // Kyrgyz
    {0x44, "windows-1251"}, // Tatar
    {0x50, "windows-1251"}, // Mongolian
    {0x05, "windows-1250"}, // Czech
    {0x0E, "windows-1250"}, // Hungarian
    {0x15, "windows-1250"}, // Polish
    {0x18, "windows-1250"}, // Romanian
    {0x1B, "windows-1250"}, // Slovak
    {0x24, "windows-1250"}, // Slovenian
    {0x1C, "windows-1250"}, // Albanian
    {0x08, "windows-1253"}, // Greek
    {0x1F, "windows-1254"}, // Turkish
    {0x0D, "windows-1255"}, // Hebrew
    {0x01, "windows-1256"}, // Arabic
    {0x29, "windows-1256"}, // Persian
    {0x25, "windows-1257"}, // Estonian
    {0x26, "windows-1257"}, // Latvian
    {0x27, "windows-1257"}, // Lithuanian
    {0x2A, "windows-1258"}, // Vietnamese
    {0x1E, "windows-874"},  // Thai
    {0x11, "Shift_JIS"},    // Japanese
    {0x12, "windows-949"},  // Korean
}};
constexpr const char* kWesternCodePage = "windows-1252";

struct ConverterCloser
{
    void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

QByteArray icuLocale(int languageId)
{
    if (languageId <= 0)
        return QByteArray();
    std::array<char, ULOC_FULLNAME_CAPACITY> locale{};
    UErrorCode error = U_ZERO_ERROR;
    const int32_t length = uloc_getLocaleForLCID(static_cast<uint32_t>(languageId), locale.data(),
                                                 static_cast<int32_t>(locale.size()), &error);
    if (U_FAILURE(error) || length <= 0)
        return QByteArray();
    return QByteArray(locale.data(), length);
}

} // namespace

QString LanguageNames::localeName(int languageId)
{
    return QString::fromLatin1(icuLocale(languageId));
}

QString LanguageNames::displayName(int languageId, int displayLanguageId)
{
    const QByteArray locale = icuLocale(languageId);
    if (locale.isEmpty())
        return QString::number(languageId);
    QByteArray displayLocale = icuLocale(displayLanguageId);
    if (displayLocale.isEmpty())
        displayLocale = icuLocale(kEnglishUnitedStates);
    std::array<UChar, kMaxDisplayName> name{};
    UErrorCode error = U_ZERO_ERROR;
    const int32_t length = uloc_getDisplayName(locale.constData(), displayLocale.constData(),
                                               name.data(), kMaxDisplayName, &error);
    if (U_FAILURE(error) || length <= 0)
        return QString::number(languageId);
    return QString(reinterpret_cast<const QChar*>(name.data()), length);
}

int LanguageNames::languageIdOfLocale(const QString& localeName)
{
    const QByteArray name = localeName.toLatin1();
    return static_cast<int>(uloc_getLCID(name.constData()));
}

int LanguageNames::systemDefaultLanguageId()
{
    const int id = languageIdOfLocale(QLocale::system().name());
    return id > 0 ? id : kEnglishUnitedStates;
}

QByteArray LanguageNames::ansiCodePage(int languageId)
{
    const int primary = languageId & kPrimaryLanguageMask;
    for (const CodePage& page : kCodePages) {
        if (page.primaryLanguage == primary)
            return QByteArray(page.converter);
    }
    return QByteArray(kWesternCodePage);
}

QString LanguageNames::decodeAnsi(const QByteArray& bytes, int languageId)
{
    UErrorCode error = U_ZERO_ERROR;
    Converter converter(ucnv_open(ansiCodePage(languageId).constData(), &error));
    if (U_FAILURE(error))
        return QString::fromLatin1(bytes);
    // Every byte becomes at most two UTF-16 units in these code pages.
    std::vector<UChar> buffer(static_cast<std::size_t>(bytes.size()) * 2 + 1);
    const int32_t length =
        ucnv_toUChars(converter.get(), buffer.data(), static_cast<int32_t>(buffer.size()),
                      bytes.constData(), static_cast<int32_t>(bytes.size()), &error);
    if (U_FAILURE(error))
        return QString::fromLatin1(bytes);
    return QString(reinterpret_cast<const QChar*>(buffer.data()), length);
}

int SystemDefaultLanguageId()
{
    return LanguageNames::systemDefaultLanguageId();
}
