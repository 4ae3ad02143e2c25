#include "send/core/MimeComposer.h"

#include "send/core/MessageCharset.h"

#include <QFile>
#include <QLocale>
#include <QUuid>

#include <algorithm>

namespace {
const QByteArray kCrLf = QByteArrayLiteral("\r\n");
const QByteArray kFold = QByteArrayLiteral("\r\n ");
constexpr char kPreamble[] = "This is a multi-part message in MIME format";
constexpr int kSecondsPerMinute = 60;
constexpr int kMinutesPerHour = 60;

bool isPlainHeaderText(const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() > 0x7E)
            return false;
    }
    return true;
}

QByteArray encodedWordPrefix()
{
    return QByteArrayLiteral("=?") + MessageCharset::kName + QByteArrayLiteral("?B?");
}

// Bytes in an encoded word that fits into the given room: whole base64
// groups, at least one.
int bytesForEncodedWord(int room)
{
    const int forBase64 =
        std::min(room, MimeComposer::kMaxEncodedWordLength) - int(encodedWordPrefix().size()) - 2;
    return std::max(forBase64 / 4, 1) * 3;
}

// Addresses never carry line breaks or other control characters into a header.
QByteArray addressField(const QString& address)
{
    QString clean;
    for (const QChar c : address) {
        if (c.unicode() >= 0x20 && c.unicode() != 0x7F)
            clean += c;
    }
    return clean.toUtf8();
}

QByteArray quotedParameter(const QString& value, int column)
{
    QByteArray encoded = MimeComposer::encodeHeaderText(value, column + 1);
    encoded.replace('\\', "\\\\").replace('"', "\\\"");
    return '"' + encoded + '"';
}

QByteArray rfc2822Date(const QDateTime& date)
{
    const int offsetMinutes = date.offsetFromUtc() / kSecondsPerMinute;
    const int magnitude = qAbs(offsetMinutes);
    const QString offset =
        QString::asprintf("%c%02d%02d", offsetMinutes < 0 ? '-' : '+', magnitude / kMinutesPerHour,
                          magnitude % kMinutesPerHour);
    return QLocale::c().toString(date, QStringLiteral("ddd, dd MMM yyyy HH:mm:ss ")).toLatin1() +
           offset.toLatin1();
}

QByteArray newBoundary()
{
    // Base64 text never holds "_", so no attachment line can match it.
    return QByteArrayLiteral("=_Quillon_") + QUuid::createUuid().toByteArray(QUuid::Id128);
}

QByteArray wrappedBase64(const QByteArray& data)
{
    const QByteArray text = data.toBase64();
    QByteArray out;
    out.reserve(text.size() + text.size() / MimeComposer::kBase64LineLength * 2 + 2);
    for (qsizetype at = 0; at < text.size(); at += MimeComposer::kBase64LineLength)
        out += text.mid(at, MimeComposer::kBase64LineLength) + kCrLf;
    return out;
}

Result<QByteArray> attachmentBytes(const FaxRequest::Attachment& attachment)
{
    if (attachment.path.isEmpty())
        return attachment.data;
    QFile file(attachment.path);
    if (!file.open(QIODevice::ReadOnly))
        return Status::failure(
            QStringLiteral("Cannot read \"%1\": %2").arg(attachment.path, file.errorString()));
    return file.readAll();
}

QByteArray textPart(const QString& text)
{
    const QByteArray bytes = MessageCharset::encode(text);
    const bool ascii = std::all_of(bytes.begin(), bytes.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    QByteArray part = QByteArrayLiteral("Content-Type: text/plain; charset=\"") +
                      MessageCharset::kName + QByteArrayLiteral("\"") + kCrLf;
    part += QByteArrayLiteral("Content-Transfer-Encoding: ") + (ascii ? "7bit" : "8bit") + kCrLf;
    return part + kCrLf + bytes + kCrLf;
}

QByteArray attachmentPart(const QString& name, const QByteArray& data)
{
    // Each parameter on a line of its own keeps long encoded names in bounds.
    QByteArray part = QByteArrayLiteral("Content-Type: application/octet-stream;") + kFold +
                      QByteArrayLiteral("name=") + quotedParameter(name, 6) + kCrLf;
    part += QByteArrayLiteral("Content-Transfer-Encoding: base64") + kCrLf;
    part += QByteArrayLiteral("Content-Disposition: attachment;") + kFold +
            QByteArrayLiteral("filename=") + quotedParameter(name, 10) + kCrLf;
    return part + kCrLf + wrappedBase64(data);
}

QByteArray headerLine(const char* name, const QByteArray& value)
{
    return QByteArray(name) + QByteArrayLiteral(": ") + value + kCrLf;
}

Result<QByteArray> compose(const FaxRequest& request, const QString& text, const QDateTime& date,
                           bool parametersAsHeaders)
{
    const QByteArray boundary = newBoundary();
    const QByteArray from = addressField(request.fromAddress);
    QByteArray message;
    message += headerLine("From", from);
    message += headerLine("Sender", from);
    QStringList recipients;
    for (const QString& recipient : request.recipients)
        recipients << QString::fromUtf8(addressField(recipient));
    message += headerLine("To", recipients.join(QStringLiteral(", ")).toUtf8());
    message += headerLine("Subject", MimeComposer::encodeHeaderText(request.subject, 9));
    message += headerLine("Date", rfc2822Date(date));
    message += headerLine("MIME-Version", "1.0");
    message +=
        headerLine("Content-Type", QByteArrayLiteral("multipart/mixed; charset=\"") +
                                       MessageCharset::kName + QByteArrayLiteral("\";") + kFold +
                                       QByteArrayLiteral("boundary=\"") + boundary + '"');
    if (parametersAsHeaders) {
        for (const FaxRequest::Parameter& parameter : request.mimeParameters())
            message +=
                parameter.name.toLatin1() + QByteArrayLiteral(": ") +
                MimeComposer::encodeHeaderText(parameter.value, int(parameter.name.size()) + 2) +
                kCrLf;
    }
    message += kCrLf + QByteArray(kPreamble) + kCrLf;

    const QByteArray delimiter = kCrLf + QByteArrayLiteral("--") + boundary + kCrLf;
    message += delimiter + textPart(text);
    for (const FaxRequest::Attachment& attachment : request.attachments()) {
        Result<QByteArray> data = attachmentBytes(attachment);
        if (!data.ok())
            return data.status();
        message += delimiter + attachmentPart(attachment.name, data.value());
    }
    message += kCrLf + QByteArrayLiteral("--") + boundary + QByteArrayLiteral("--") + kCrLf;
    return message;
}
} // namespace

QByteArray MimeComposer::encodeHeaderText(const QString& text, int column)
{
    if (isPlainHeaderText(text))
        return text.toLatin1();
    const QByteArray bytes = MessageCharset::encode(text);
    // windows-1251 has one byte per character, so any split point is safe.
    QByteArray out;
    int room = kMaxHeaderLineLength - column;
    for (qsizetype at = 0; at < bytes.size();) {
        const int chunk = bytesForEncodedWord(room);
        if (!out.isEmpty())
            out += kFold;
        out += encodedWordPrefix() + bytes.mid(at, chunk).toBase64() + QByteArrayLiteral("?=");
        at += chunk;
        room = kMaxHeaderLineLength - 1;
    }
    return out;
}

QString MimeComposer::bodyText(const FaxRequest& request, const QString& notice)
{
    QString normalized = notice;
    normalized.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QStringList lines = normalized.split(QLatin1Char('\n'));
    lines << QString();
    for (const FaxRequest::Parameter& parameter : request.mimeParameters())
        lines << parameter.name + QLatin1Char('=') + parameter.value;
    return lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

Result<QByteArray> MimeComposer::headerRendering(const FaxRequest& request, const QDateTime& date)
{
    return compose(request, QString(), date, true);
}

Result<QByteArray> MimeComposer::bodyRendering(const FaxRequest& request, const QString& notice,
                                               const QDateTime& date)
{
    return compose(request, bodyText(request, notice), date, false);
}
