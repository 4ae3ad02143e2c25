#include "tests/send/SmtpTestServer.h"

#include "tests/support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>

#include <gtest/gtest.h>

SmtpTestServer::SmtpTestServer(const QStringList& options)
{
    QStringList arguments{QStringLiteral(QUILLON_SOURCE_DIR "/tests/send/smtp_server.py"),
                          QStringLiteral("--folder"), m_folder.path()};
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(testfiles::systemPython(), arguments + options);
    if (!m_process.waitForStarted() || !m_process.waitForReadyRead(20000)) {
        ADD_FAILURE() << "the SMTP test server did not start";
        return;
    }
    m_port = m_process.readLine().trimmed().toInt();
}

SmtpTestServer::~SmtpTestServer()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.terminate();
        if (!m_process.waitForFinished(5000))
            m_process.kill();
        m_process.waitForFinished(5000);
    }
}

QStringList SmtpTestServer::commands() const
{
    QFile file(m_folder.filePath(QStringLiteral("commands.txt")));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

std::vector<SmtpTestServer::Received> SmtpTestServer::messages() const
{
    std::vector<Received> result;
    for (int n = 1;; ++n) {
        const QString base = m_folder.filePath(QStringLiteral("message_%1").arg(n));
        if (!QFile::exists(base + ".json"))
            break;
        result.push_back({testfiles::read(base + ".eml"),
                          QJsonDocument::fromJson(testfiles::read(base + ".json")).object()});
    }
    return result;
}

QStringList SmtpTestServer::startTlsOptions()
{
    static QTemporaryDir folder;
    const QString certificate = folder.filePath(QStringLiteral("cert.pem"));
    const QString key = folder.filePath(QStringLiteral("key.pem"));
    if (!QFile::exists(certificate)) {
        QProcess openssl;
        openssl.start(QStringLiteral("openssl"),
                      {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-subj", "/CN=localhost",
                       "-days", "1", "-keyout", key, "-out", certificate});
        EXPECT_TRUE(openssl.waitForFinished(60000));
        EXPECT_EQ(openssl.exitCode(), 0) << openssl.readAllStandardError().toStdString();
    }
    return {QStringLiteral("--starttls"), certificate, key};
}
