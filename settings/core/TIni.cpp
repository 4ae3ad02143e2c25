#include "settings/core/TIni.h"

#include "settings/core/IniFile.h"
#include "settings/core/PrinterService.h"

#include <QDir>
#include <QFileInfo>
#include <QLatin1String>
#include <QSaveFile>

#include <algorithm>
#include <cctype>

namespace {

// The reader names the e-mail section "Email", the writer "EMAIL": the same
// section, since names are matched without regard to case, and a new file
// gets the upper-case header older versions wrote.
constexpr QLatin1String kEmailSectionRead("Email");
constexpr QLatin1String kEmailSectionWritten("EMAIL");
constexpr QLatin1String kCommonSection("Common");
constexpr QLatin1String kInfoSection("Info");
constexpr QLatin1String kDrawSection("Draw");
constexpr QLatin1String kPrintPreviewSection("PrintPreview");

constexpr QLatin1String kDefaultPrinterKey("DefaultPrinter");
constexpr QLatin1String kLastFaxNumbersKey("LastFaxNumbers");

constexpr int kDefaultHistoryCount = 20;
constexpr int kDefaultSmtpPort = 25;
constexpr int kDefaultSmtpSslPort = 465;
constexpr int kDefaultLanguageId = 1033; // English (United States)
constexpr int kDefaultPassMode = 1;      // "Strong": the digest binds the fax file
constexpr int kDefaultOutputDpi = 300;
constexpr int kDefaultPenWidth = 1;
constexpr quint32 kDefaultPenColor = 0xFFFFFF;   // white
constexpr quint32 kDefaultBrushColor = 0x800000; // navy (0x00BBGGRR)
constexpr int kDefaultFontSize = 12;
constexpr QLatin1String kDefaultFontName("Arial");
constexpr int kDefaultMargin = 1;
constexpr bool kDefaultVerifySsl = true;

constexpr QChar kEscapeMark(u'#');
constexpr QChar kListSeparator(u';');
constexpr char kBlank = ' ';
constexpr int kEscapeDigits = 2;

// The settings hold the SMTP password, so only the owner may read the file.
constexpr QFileDevice::Permissions kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

QString hexByte(uchar byte)
{
    return QStringLiteral("%1").arg(byte, kEscapeDigits, 16, QLatin1Char('0')).toUpper();
}

// Splits the text into lines the way a text list takes its text: a carriage
// return, a line feed or both end a line; a final line break adds no line.
QStringList splitLines(const QString& text)
{
    QStringList lines;
    int position = 0;
    while (position < text.size()) {
        int end = position;
        while (end < text.size() && text.at(end) != u'\r' && text.at(end) != u'\n')
            ++end;
        lines.append(text.mid(position, end - position));
        position = end;
        if (position < text.size() && text.at(position) == u'\r')
            ++position;
        if (position < text.size() && text.at(position) == u'\n')
            ++position;
    }
    return lines;
}

Status unableToWrite(const QString& fileName, const QString& reason)
{
    QString text = QStringLiteral("Unable to write to ") + fileName;
    if (!reason.isEmpty())
        text += QLatin1Char('\n') + reason;
    return Status::failure(text);
}

// Writes the new content beside the old file and renames it over the old one
// only when everything was written, so a full disk or a folder that refuses
// new files never leaves a half-written settings file behind.
Status replaceFileContent(const QString& fileName, const QByteArray& content)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return unableToWrite(fileName, file.errorString());
    if (!file.setPermissions(kOwnerOnly)) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return unableToWrite(fileName, reason);
    }
    // QSaveFile commits a file that a full disk cut short (the short write
    // goes unreported, without a reason), so the flush and the size are
    // checked here.
    const bool complete =
        file.write(content) == content.size() && file.flush() && file.size() == content.size();
    if (!complete) {
        file.cancelWriting();
        return unableToWrite(fileName,
                             QStringLiteral("The disk is full or the file is too large."));
    }
    if (!file.commit())
        return unableToWrite(fileName, file.errorString());
    return Status::success();
}

} // namespace

TIni::TIni(PrinterService* printers) : m_printers(printers) {}

void TIni::LoadFromFile(const QString& fileName)
{
    FileName = fileName;
    // An unreadable file is treated like a missing one: every value takes its default.
    const Result<IniFile> file = IniFile::fromFile(fileName);
    ReadSettings(file.ok() ? file.value() : IniFile());
}

void TIni::LoadFromStrings(const QStringList& lines)
{
    ReadSettings(IniFile::fromLines(lines));
}

Status TIni::SaveToFile(const QString& fileName) const
{
    const QString folder = QFileInfo(fileName).absolutePath();
    if (!QDir().mkpath(folder))
        return unableToWrite(fileName,
                             QStringLiteral("The folder %1 cannot be created.").arg(folder));

    // Update the existing file so that lines this program does not know survive.
    const Result<IniFile> existing = IniFile::fromFile(fileName);
    if (!existing.ok())
        return unableToWrite(fileName, existing.status().text());
    IniFile file = existing.value();
    WriteSettings(file);
    return replaceFileContent(fileName, file.toUtf8());
}

void TIni::ReadSettings(const IniFile& source)
{
    ReadEmail(source);
    ReadCommon(source);
    SelectStoredPrinter(source.readString(kCommonSection, kDefaultPrinterKey, QString()));
    ReadInfo(source);
    ReadDraw(source);
    ReadPrintPreview(source);
}

void TIni::WriteSettings(IniFile& target) const
{
    WriteEmail(target);
    WriteCommon(target);
    WriteInfo(target);
    WriteDraw(target);
    WritePrintPreview(target);
}

void TIni::ReadEmail(const IniFile& source)
{
    const QString section = kEmailSectionRead;
    EMailPass = source.readString(section, QStringLiteral("EMailPass"), QString());
    EMailName = source.readString(section, QStringLiteral("EMailName"), QString());
    EMailServer = source.readString(section, QStringLiteral("EMailServer"), QString());
    EMailAuth = source.readBool(section, QStringLiteral("EMailAuth"), false);
    EMailServerPort =
        source.readInteger(section, QStringLiteral("EMailServerPort"), kDefaultSmtpPort);
    EMailServerSSLPort =
        source.readInteger(section, QStringLiteral("EMailServerSSLPort"), kDefaultSmtpSslPort);
    EMailServerRequreFQN = source.readBool(section, QStringLiteral("EMailServerRequreFQN"), false);
    EMailServerRequreSSL = source.readBool(section, QStringLiteral("EMailServerRequreSSL"), false);
    EMailServerVerifySSL =
        source.readBool(section, QStringLiteral("EMailServerVerifySSL"), kDefaultVerifySsl);
}

void TIni::ReadCommon(const IniFile& source)
{
    const QString section = kCommonSection;
    HistoryCount =
        source.readInteger(section, QStringLiteral("HistoryCount"), kDefaultHistoryCount);
    LastFaxNumbers = ReadList(source, section, kLastFaxNumbersKey);
    // The relay number is a byte; larger values wrap as they always have.
    EMailSendMethod =
        static_cast<quint8>(source.readInteger(section, QStringLiteral("EMailSendMethod"), 0));
    LanguageID = source.readInteger(section, QStringLiteral("LanguageID"), kDefaultLanguageId);
    OutputDPI = source.readInteger(section, QStringLiteral("OutputDPI"), kDefaultOutputDpi);
    ChangeOutputDPI = source.readBool(section, QStringLiteral("ChangeOutputDPI"), false);
    MakeCopyToPrinter = source.readBool(section, QStringLiteral("MakeCopyToPrinter"), false);
}

void TIni::ReadInfo(const IniFile& source)
{
    const QString section = kInfoSection;
    CardName = source.readString(section, QStringLiteral("CardName"), QString());
    CardPasswordHash = source.readString(section, QStringLiteral("CardPasswordHash"), QString());
    ReplyAddress = source.readString(section, QStringLiteral("ReplyAddress"), QString());
    PassMode = source.readInteger(section, QStringLiteral("PassMode"), kDefaultPassMode);
}

void TIni::ReadDraw(const IniFile& source)
{
    const QString section = kDrawSection;
    BrushColor = static_cast<quint32>(source.readInteger(section, QStringLiteral("BrushColor"),
                                                         static_cast<qint32>(kDefaultBrushColor)));
    BrushStyle = source.readInteger(section, QStringLiteral("BrushStyle"), 0);
    PenWidth = source.readInteger(section, QStringLiteral("PenWidth"), kDefaultPenWidth);
    PenColor = static_cast<quint32>(source.readInteger(section, QStringLiteral("PenColor"),
                                                       static_cast<qint32>(kDefaultPenColor)));
    PenStyle = source.readInteger(section, QStringLiteral("PenStyle"), 0);
    FontSize = source.readInteger(section, QStringLiteral("FontSize"), kDefaultFontSize);
    FontName = source.readString(section, QStringLiteral("FontName"), kDefaultFontName);
}

void TIni::ReadPrintPreview(const IniFile& source)
{
    const QString section = kPrintPreviewSection;
    MarginTop = source.readInteger(section, QStringLiteral("MarginTop"), kDefaultMargin);
    MarginLeft = source.readInteger(section, QStringLiteral("MarginLeft"), kDefaultMargin);
    MarginRight = source.readInteger(section, QStringLiteral("MarginRight"), kDefaultMargin);
    MarginBottom = source.readInteger(section, QStringLiteral("MarginBottom"), kDefaultMargin);
    PrintSize = source.readInteger(section, QStringLiteral("PrintSize"), 0);
    PrintAlign = source.readInteger(section, QStringLiteral("PrintAlign"), 0);
}

void TIni::WriteEmail(IniFile& target) const
{
    const QString section = kEmailSectionWritten;
    target.writeString(section, QStringLiteral("EMailPass"), EMailPass);
    target.writeString(section, QStringLiteral("EMailName"), EMailName);
    target.writeString(section, QStringLiteral("EMailServer"), EMailServer);
    target.writeBool(section, QStringLiteral("EMailAuth"), EMailAuth);
    target.writeInteger(section, QStringLiteral("EMailServerPort"), EMailServerPort);
    target.writeInteger(section, QStringLiteral("EMailServerSSLPort"), EMailServerSSLPort);
    target.writeBool(section, QStringLiteral("EMailServerRequreFQN"), EMailServerRequreFQN);
    target.writeBool(section, QStringLiteral("EMailServerRequreSSL"), EMailServerRequreSSL);
    target.writeBool(section, QStringLiteral("EMailServerVerifySSL"), EMailServerVerifySSL);
}

void TIni::WriteCommon(IniFile& target) const
{
    const QString section = kCommonSection;
    target.writeInteger(section, QStringLiteral("HistoryCount"), HistoryCount);
    WriteList(target, section, kLastFaxNumbersKey, LastFaxNumbers);
    target.writeInteger(section, QStringLiteral("EMailSendMethod"), EMailSendMethod);
    target.writeInteger(section, QStringLiteral("LanguageID"), LanguageID);
    target.writeInteger(section, QStringLiteral("OutputDPI"), OutputDPI);
    target.writeBool(section, QStringLiteral("ChangeOutputDPI"), ChangeOutputDPI);
    target.writeBool(section, QStringLiteral("MakeCopyToPrinter"), MakeCopyToPrinter);
    // Without a printer the key stays, empty, so the file keeps its shape.
    target.writeString(section, kDefaultPrinterKey, CurrentPrinterName());
}

void TIni::WriteInfo(IniFile& target) const
{
    const QString section = kInfoSection;
    target.writeString(section, QStringLiteral("CardName"), CardName);
    target.writeString(section, QStringLiteral("CardPasswordHash"), CardPasswordHash);
    target.writeString(section, QStringLiteral("ReplyAddress"), ReplyAddress);
    target.writeInteger(section, QStringLiteral("PassMode"), PassMode);
}

void TIni::WriteDraw(IniFile& target) const
{
    const QString section = kDrawSection;
    target.writeInteger(section, QStringLiteral("BrushColor"), static_cast<qint32>(BrushColor));
    target.writeInteger(section, QStringLiteral("BrushStyle"), BrushStyle);
    target.writeInteger(section, QStringLiteral("PenWidth"), PenWidth);
    target.writeInteger(section, QStringLiteral("PenColor"), static_cast<qint32>(PenColor));
    target.writeInteger(section, QStringLiteral("PenStyle"), PenStyle);
    target.writeInteger(section, QStringLiteral("FontSize"), FontSize);
    target.writeString(section, QStringLiteral("FontName"), FontName);
}

void TIni::WritePrintPreview(IniFile& target) const
{
    const QString section = kPrintPreviewSection;
    target.writeInteger(section, QStringLiteral("MarginTop"), MarginTop);
    target.writeInteger(section, QStringLiteral("MarginLeft"), MarginLeft);
    target.writeInteger(section, QStringLiteral("MarginRight"), MarginRight);
    target.writeInteger(section, QStringLiteral("MarginBottom"), MarginBottom);
    target.writeInteger(section, QStringLiteral("PrintSize"), PrintSize);
    target.writeInteger(section, QStringLiteral("PrintAlign"), PrintAlign);
}

void TIni::AddFaxNumberToHistory(const QString& number)
{
    for (int i = 0; i < LastFaxNumbers.size(); ++i) {
        if (LastFaxNumbers.at(i).compare(number, Qt::CaseInsensitive) == 0) {
            LastFaxNumbers.removeAt(i);
            break;
        }
    }
    LastFaxNumbers.prepend(number);
    while (!LastFaxNumbers.isEmpty() && LastFaxNumbers.size() > HistoryCount)
        LastFaxNumbers.removeLast();
}

QString TIni::CurrentPrinterName() const
{
    if (m_printers == nullptr || m_printers->printerNames().isEmpty())
        return QString();
    return m_printers->currentPrinterName();
}

void TIni::SelectPrinter(const QString& name)
{
    if (m_printers != nullptr && m_printers->printerNames().contains(name, Qt::CaseSensitive))
        m_printers->selectPrinter(name);
}

void TIni::SelectStoredPrinter(const QString& name)
{
    if (!name.isEmpty())
        SelectPrinter(name);
}

QString TIni::EscapeValue(const QString& text, QChar special)
{
    QString result;
    result.reserve(text.size());
    for (const QChar c : text) {
        if (c == kEscapeMark) {
            result += kEscapeMark + hexByte(static_cast<uchar>(kEscapeMark.unicode()));
        } else if (c == special) {
            for (const char byte : QString(c).toUtf8())
                result += kEscapeMark + hexByte(static_cast<uchar>(byte));
        } else {
            result += c;
        }
    }
    return result;
}

QString TIni::UnescapeValue(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    QByteArray result;
    result.reserve(bytes.size());
    int i = 0;
    while (i < bytes.size()) {
        if (bytes.at(i) != kEscapeMark.unicode()) {
            result += bytes.at(i++);
            continue;
        }
        const QByteArray digits = bytes.mid(i + 1, kEscapeDigits);
        bool valid = false;
        const int value = digits.toInt(&valid, 16);
        // toInt would also take blanks and signs; only plain hex digits count.
        const bool plainHex = std::all_of(digits.begin(), digits.end(), [](char c) {
            return std::isxdigit(static_cast<unsigned char>(c)) != 0;
        });
        result += valid && plainHex ? static_cast<char>(value) : kBlank;
        i += 1 + digits.size();
    }
    return QString::fromUtf8(result);
}

QStringList TIni::ReadList(const IniFile& source, const QString& section, const QString& key)
{
    QString value = source.readString(section, key, QString());
    value.replace(kListSeparator, QLatin1Char('\r'));
    return splitLines(UnescapeValue(value));
}

void TIni::WriteList(IniFile& target, const QString& section, const QString& key,
                     const QStringList& items)
{
    QString value;
    for (const QString& item : items) {
        const QString escaped = EscapeValue(item, kListSeparator);
        // An empty first item leaves no trace: the next item starts the value.
        if (value.isEmpty())
            value = escaped;
        else
            value += kListSeparator + escaped;
    }
    target.writeString(section, key, value);
}
