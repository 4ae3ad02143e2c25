#pragma once

#include "send/core/FaxRequest.h"

#include <QDateTime>
#include <QFile>
#include <QString>

#include <ostream>

// Lets GoogleTest show QString values as text in failure messages.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace relaystest {
// Points the temporary folder (TMPDIR) at a folder of the test's own for as
// long as it lives.
class ScopedTempFolder
{
public:
    explicit ScopedTempFolder(const QString& path) : m_previous(qgetenv("TMPDIR"))
    {
        qputenv("TMPDIR", QFile::encodeName(path));
    }
    ~ScopedTempFolder()
    {
        if (m_previous.isNull())
            qunsetenv("TMPDIR");
        else
            qputenv("TMPDIR", m_previous);
    }
    ScopedTempFolder(const ScopedTempFolder&) = delete;
    ScopedTempFolder& operator=(const ScopedTempFolder&) = delete;

private:
    QByteArray m_previous;
};

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
