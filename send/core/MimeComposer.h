#pragma once

#include "app/core/Status.h"
#include "send/core/FaxRequest.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

// Writes a fax request as a MIME message (multipart/mixed: a text part, the
// fax image, the multi-address list), lines ending in CR LF, ready to go
// after DATA or into a message file. Dot-stuffing is the SMTP client's task.
class MimeComposer
{
public:
    static constexpr int kBase64LineLength = 76;
    // RFC 2047 limits one encoded word to 75 characters.
    static constexpr int kMaxEncodedWordLength = 75;

    // For the internal SMTP relay: the parameters are header fields after the
    // standard ones, the text part is empty.
    static Result<QByteArray> headerRendering(const FaxRequest& request, const QDateTime& date);
    // For a message file: the text part holds the notice, an empty line and
    // the parameters as "name=value" lines.
    static Result<QByteArray> bodyRendering(const FaxRequest& request, const QString& notice,
                                            const QDateTime& date);

    // Header lines stay within this many characters where we can fold them.
    static constexpr int kMaxHeaderLineLength = 76;

    // A header text as it goes on the wire: unchanged when it is printable
    // ASCII, else windows-1251 encoded words (B encoding) joined by folding.
    // column: characters already on the line before the text.
    static QByteArray encodeHeaderText(const QString& text, int column = 0);
    // The message text of the body rendering, CR LF line ends.
    static QString bodyText(const FaxRequest& request, const QString& notice);
};
