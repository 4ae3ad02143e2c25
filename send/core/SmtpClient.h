#pragma once

#include "send/core/SmtpSettings.h"

#include <QByteArray>
#include <QObject>
#include <QSslError>
#include <QStringList>
#include <QTimer>

#include <memory>

class QSslSocket;

// Hands one message to an SMTP server. The exchange is a state machine driven
// by the socket's signals, so the caller's event loop keeps running and no
// call blocks: start it with send(), follow it with statusChanged() and learn
// the outcome from finished(). One exchange at a time per client.
class SmtpClient : public QObject
{
    Q_OBJECT

public:
    // A server that does not answer within this time has stalled.
    static constexpr int kDefaultReplyTimeoutMs = 60 * 1000;

    struct Mail
    {
        QString from;
        QStringList recipients;
        // The message after DATA, lines ending in CR LF, not yet dot-stuffed.
        QByteArray data;
    };

    explicit SmtpClient(QObject* parent = nullptr);
    ~SmtpClient() override;

    void setReplyTimeout(int milliseconds) { m_replyTimeoutMs = milliseconds; }
    bool isBusy() const { return m_state != State::Idle; }

    // greetingName: the name given with EHLO/HELO. Ignored while busy.
    void send(const SmtpSettings& settings, const QString& greetingName, const Mail& mail);

    // Doubles every dot that begins a line, so that no line of the message
    // can end the data early; makes sure the data ends with a line break.
    static QByteArray dotStuffed(const QByteArray& data);

signals:
    // A line for the progress window: what the client is doing now.
    void statusChanged(const QString& text);
    // The end of the exchange. errorText says what went wrong when !ok.
    void finished(bool ok, const QString& errorText);

private:
    enum class State {
        Idle,
        Connecting,
        Welcome,
        Ehlo,
        Helo,
        StartTls,
        TlsHandshake,
        AuthLogin,
        AuthUser,
        AuthPassword,
        Reset,
        MailFrom,
        RcptTo,
        Data,
        Message,
        Quit,
    };

    void onConnected();
    void onReadyRead();
    void onEncrypted();
    void onSslErrors(const QList<QSslError>& errors);
    void onSocketError();
    void onDisconnected();
    void onReplyTimeout();

    void handleReply(int code, const QStringList& lines);
    void handleGreetingReply(int code, const QStringList& lines);
    void afterGreeting();
    void startMailTransaction();
    void sendNextRecipient();

    void sendCommand(State next, const QByteArray& command);
    void expectReply(State next);
    void fail(const QString& text);
    void failAfterReply(int code, const QStringList& lines);
    void quit();
    void finish(bool ok, const QString& errorText);

    std::unique_ptr<QSslSocket> m_socket;
    QTimer m_replyTimer;
    int m_replyTimeoutMs = kDefaultReplyTimeoutMs;

    State m_state = State::Idle;
    SmtpSettings m_settings;
    QString m_greetingName;
    Mail m_mail;
    int m_nextRecipient = 0;
    QByteArray m_buffer;
    QStringList m_replyLines;
    bool m_serverOffersStartTls = false;
    bool m_serverOffersAuthLogin = false;
    bool m_encrypted = false;
    bool m_authenticated = false;
    // Set when the exchange has failed and QUIT is on its way.
    QString m_pendingError;
    QString m_certificateProblem;
};
