#pragma once

#include "send/core/FaxRequest.h"

#include <QDateTime>
#include <QString>

#include <ostream>

// Lets GoogleTest show QString values as text in failure messages.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace relaystest {
inline QByteArray sampleImageBytes()
{
    QByteArray bytes;
    for (int i = 0; i < 3000; ++i)
        bytes += char(i * 13 % 256);
    return bytes;
}

// A request as the send command builds it, for a fax image at imagePath.
inline FaxRequest sampleRequest(const QString& imagePath)
{
    FaxRequest request;
    request.recipients = {QStringLiteral("fax@gateway.example.net")};
    request.fromAddress = QStringLiteral("client@example.com");
    request.subject = QStringLiteral("123456 (Мой клиент)");
    request.faxImagePath = imagePath;
    request.cardName = QStringLiteral("4711");
    request.passwordValue = QStringLiteral("0123456789abcdef0123456789abcdef");
    request.languageId = 1049;
    request.version = QStringLiteral("2.0.0.1");
    request.passMode = 1;
    return request;
}

// 5 March 2015, 9:07, local time.
inline QDateTime sampleSendTime()
{
    return QDateTime(QDate(2015, 3, 5), QTime(9, 7), Qt::LocalTime);
}
} // namespace relaystest
