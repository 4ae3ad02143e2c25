#include "send/core/FaxRequest.h"

#include "about/core/VersionRecord.h"
#include "crypto/core/PasswordValue.h"
#include "send/core/MessageCharset.h"
#include "settings/core/TIni.h"

#include <QFileInfo>

namespace {
const QString kCrLf = QStringLiteral("\r\n");
constexpr int kLanguageIdDigits = 4;
constexpr int kHexBase = 16;

void addWhenPresent(std::vector<FaxRequest::Parameter>& list, const char* name,
                    const QString& value)
{
    if (!value.isEmpty())
        list.push_back({QString::fromLatin1(name), value});
}
} // namespace

FaxRequest::Source FaxRequest::Source::fromIni(const TIni& ini)
{
    Source source;
    source.cardName = ini.CardName;
    source.cardPasswordHash = ini.CardPasswordHash;
    source.passMode = ini.PassMode;
    source.replyAddress = ini.ReplyAddress;
    source.languageId = quint16(ini.LanguageID);
    return source;
}

FaxRequest FaxRequest::compose(const Source& source)
{
    FaxRequest request;
    request.recipients = QStringList{VersionRecord::gatewayAddress()};
    request.fromAddress = source.replyAddress;
    request.subject = source.numberText;
    request.faxImagePath = source.faxImagePath;
    request.cardName = source.cardName;
    request.passwordValue =
        BuildPasswordValue(source.cardPasswordHash, source.passMode, source.faxImagePath);
    request.languageId = source.languageId;
    request.version = VersionRecord::value(QStringLiteral("FileVersion"));
    request.passMode = source.passMode;
    request.additional = source.additional;
    return request;
}

QString FaxRequest::faxFileName() const
{
    return QFileInfo(faxImagePath).fileName();
}

QString FaxRequest::languageIdText() const
{
    return QLatin1Char('$') +
           QString::number(languageId, kHexBase).toUpper().rightJustified(kLanguageIdDigits, '0');
}

QString FaxRequest::sendDateTimeText() const
{
    if (!additional.sendDateTime)
        return {};
    return additional.sendDateTime->toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"));
}

QByteArray FaxRequest::multiFaxListBytes() const
{
    return MessageCharset::encode(additional.multiFaxNumbers.join(kCrLf));
}

std::vector<FaxRequest::Parameter> FaxRequest::mimeParameters() const
{
    std::vector<Parameter> list;
    addWhenPresent(list, "X-Name", cardName);
    addWhenPresent(list, "X-Password", passwordValue);
    addWhenPresent(list, "X-LanguageID", languageIdText());
    addWhenPresent(list, "X-Version", version);
    addWhenPresent(list, "X-PassMode", QString::number(passMode));
    addWhenPresent(list, "X-SendDT", sendDateTimeText());
    addWhenPresent(list, "X-Debug", additional.debug ? QStringLiteral("Y") : QString());
    addWhenPresent(list, "X-MultyFax",
                   additional.multiFax ? QString::fromLatin1(kMultiFaxAttachmentName) : QString());
    addWhenPresent(list, "X-FaxFile", faxFileName());
    return list;
}

std::vector<FaxRequest::Attachment> FaxRequest::attachments() const
{
    std::vector<Attachment> list;
    list.push_back({faxFileName(), faxImagePath, {}});
    if (additional.multiFax)
        list.push_back({QString::fromLatin1(kMultiFaxAttachmentName), {}, multiFaxListBytes()});
    return list;
}

QString FaxRequest::mailClientText(const QString& notice, const QString& multiFaxListPath) const
{
    QString text = notice;
    text += kCrLf + kCrLf + QStringLiteral("X-Name=") + cardName;
    text += kCrLf + QStringLiteral("X-Password=") + passwordValue;
    text += kCrLf + QStringLiteral("X-LanguageID=") + languageIdText();
    text += kCrLf + QStringLiteral("X-Version=") + version;
    text += kCrLf + QStringLiteral("X-PassMode=") + QString::number(passMode);
    if (additional.sendDateTime)
        text += kCrLf + QStringLiteral("X-SendDT=") + sendDateTimeText();
    if (additional.debug)
        text += kCrLf + QStringLiteral("X-Debug=Y");
    text += kCrLf + QStringLiteral("X-FaxFile=") + faxFileName();
    if (additional.multiFax)
        text += kCrLf + QStringLiteral("X-MultyFax=") + multiFaxListPath;
    return text;
}
