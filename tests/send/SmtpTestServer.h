#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

// A real SMTP server (aiosmtpd, tests/send/smtp_server.py) on a free loopback
// port for the life of the object; it records what it receives.
class SmtpTestServer
{
public:
    struct Received
    {
        QByteArray message;
        QJsonObject envelope;
    };

    explicit SmtpTestServer(const QStringList& options = {});
    ~SmtpTestServer();

    bool isRunning() const { return m_port > 0; }
    int port() const { return m_port; }
    QString folder() const { return m_folder.path(); }
    // The command lines received, in order ("EHLO name", "MAIL FROM: <>" ...).
    QStringList commands() const;
    std::vector<Received> messages() const;

    // A throw-away certificate and key for localhost, made once per run.
    static QStringList startTlsOptions();

private:
    QTemporaryDir m_folder;
    QProcess m_process;
    int m_port = 0;
};
