#include "send/core/SmtpClient.h"

#include <QRegularExpression>
#include <QSslConfiguration>
#include <QSslSocket>

namespace {
constexpr int kServiceReady = 220;
constexpr int kAuthenticated = 235;
constexpr int kOk = 250;
constexpr int kUserNotLocal = 251;
constexpr int kAuthContinue = 334;
constexpr int kStartMailInput = 354;
constexpr int kReplyCodeLength = 3;
constexpr int kMaxPort = 65535;
constexpr int kMillisecondsPerSecond = 1000;
// Reply lines are short (RFC 5321 allows 512 octets); a server that sends
// this much without a line break is not speaking SMTP.
constexpr int kMaxReplyLineLength = 64 * 1024;

const QByteArray kCrLf = QByteArrayLiteral("\r\n");

// An address goes between angle brackets into a command line; one with a
// line break or a bracket of its own could smuggle in further commands.
bool isUsableAddress(const QString& address)
{
    for (const QChar c : address) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F || c == QLatin1Char('<') ||
            c == QLatin1Char('>'))
            return false;
    }
    return true;
}

// The reply to EHLO lists one extension per line after the first.
bool offers(const QStringList& lines, const QString& keyword)
{
    for (int i = 1; i < lines.size(); ++i) {
        if (lines.at(i).mid(kReplyCodeLength + 1).trimmed().compare(keyword, Qt::CaseInsensitive) ==
            0)
            return true;
    }
    return false;
}

bool offersAuthLogin(const QStringList& lines)
{
    for (int i = 1; i < lines.size(); ++i) {
        // "AUTH LOGIN PLAIN" and the older "AUTH=LOGIN" both name it.
        const QString extension = lines.at(i).mid(kReplyCodeLength + 1).trimmed().toUpper();
        if (!extension.startsWith(QLatin1String("AUTH")))
            continue;
        const QStringList words =
            extension.mid(4).split(QRegularExpression(QStringLiteral("[ =]")), Qt::SkipEmptyParts);
        if (words.contains(QLatin1String("LOGIN")))
            return true;
    }
    return false;
}
} // namespace

SmtpClient::SmtpClient(QObject* parent) : QObject(parent)
{
    m_replyTimer.setSingleShot(true);
    connect(&m_replyTimer, &QTimer::timeout, this, &SmtpClient::onReplyTimeout);
}

SmtpClient::~SmtpClient()
{
    // A client may go with its window in the middle of an exchange; the
    // socket must not call back into the half-destroyed client.
    if (m_socket)
        m_socket->disconnect(this);
}

QByteArray SmtpClient::dotStuffed(const QByteArray& data)
{
    // Copies whole runs between the lines that start with a dot: a message
    // of several megabytes (base64 lines never start with one) goes through
    // in a few block copies.
    QByteArray out;
    out.reserve(data.size() + data.size() / 64 + 4);
    qsizetype from = 0;
    if (data.startsWith('.'))
        out += '.';
    for (qsizetype dot = data.indexOf("\n."); dot >= 0; dot = data.indexOf("\n.", dot + 1)) {
        out.append(data.constData() + from, dot + 1 - from);
        out += '.';
        from = dot + 1;
    }
    out.append(data.constData() + from, data.size() - from);
    if (!out.endsWith(kCrLf))
        out += kCrLf;
    return out;
}

void SmtpClient::send(const SmtpSettings& settings, const QString& greetingName, const Mail& mail)
{
    // One exchange at a time: a second start while one runs is ignored.
    if (isBusy())
        return;
    m_settings = settings;
    m_greetingName = greetingName;
    m_mail = mail;
    m_nextRecipient = 0;
    m_buffer.clear();
    m_replyLines.clear();
    m_serverOffersStartTls = false;
    m_serverOffersAuthLogin = false;
    m_encrypted = false;
    m_authenticated = false;
    m_pendingError.clear();
    m_certificateProblem.clear();
    m_state = State::Connecting;

    const int port = settings.connectionPort();
    if (settings.host.trimmed().isEmpty())
        return finish(false, QString()); // the error box shows an empty reason
    if (port <= 0 || port > kMaxPort)
        return finish(false, tr("The mail server port %1 is not valid.").arg(port));
    if (mail.recipients.isEmpty())
        return finish(false, tr("The message has no recipient."));
    QStringList addresses = mail.recipients;
    addresses << mail.from;
    for (const QString& address : addresses) {
        if (!isUsableAddress(address))
            return finish(false,
                          tr("The address \"%1\" cannot be used.").arg(address.simplified()));
    }
    if (settings.requireSsl && !QSslSocket::supportsSsl())
        return finish(false, tr("TLS is not available on this computer."));

    m_socket = std::make_unique<QSslSocket>();
    QSslConfiguration configuration = m_socket->sslConfiguration();
    configuration.setProtocol(QSsl::TlsV1_2OrLater);
    configuration.setPeerVerifyMode(settings.verifySsl ? QSslSocket::VerifyPeer
                                                       : QSslSocket::VerifyNone);
    m_socket->setSslConfiguration(configuration);
    QSslSocket* socket = m_socket.get();
    connect(socket, &QSslSocket::connected, this, &SmtpClient::onConnected);
    connect(socket, &QSslSocket::readyRead, this, &SmtpClient::onReadyRead);
    connect(socket, &QSslSocket::encrypted, this, &SmtpClient::onEncrypted);
    connect(socket, &QSslSocket::sslErrors, this, &SmtpClient::onSslErrors);
    connect(socket, &QSslSocket::errorOccurred, this, &SmtpClient::onSocketError);
    connect(socket, &QSslSocket::disconnected, this, &SmtpClient::onDisconnected);
    // A large message takes a while to go out; the server only owes a reply
    // once it has all of it, so progress in writing is no stall.
    const auto writing = [this] {
        if (m_state == State::Message)
            m_replyTimer.start(m_replyTimeoutMs);
    };
    connect(socket, &QSslSocket::bytesWritten, this, writing);
    connect(socket, &QSslSocket::encryptedBytesWritten, this, writing);

    emit statusChanged(tr("Connecting to %1:%2.").arg(settings.host).arg(port));
    m_replyTimer.start(m_replyTimeoutMs);
    m_socket->connectToHost(settings.host, quint16(port));
}

void SmtpClient::onConnected()
{
    emit statusChanged(tr("Connected."));
    expectReply(State::Welcome);
}

void SmtpClient::onReadyRead()
{
    m_buffer += m_socket->readAll();
    qsizetype end;
    while (m_state != State::Idle && (end = m_buffer.indexOf('\n')) >= 0) {
        const QString line = QString::fromLatin1(m_buffer.left(end)).trimmed();
        m_buffer.remove(0, end + 1);
        bool isNumber = false;
        const int code = line.left(kReplyCodeLength).toInt(&isNumber);
        if (!isNumber || line.size() < kReplyCodeLength) {
            return finish(
                false,
                tr("The mail server sent a reply that is not SMTP: \"%1\".").arg(line.left(80)));
        }
        m_replyLines << line;
        if (line.size() > kReplyCodeLength && line.at(kReplyCodeLength) == QLatin1Char('-'))
            continue;
        const QStringList lines = m_replyLines;
        m_replyLines.clear();
        handleReply(code, lines);
    }
    if (m_state != State::Idle && m_buffer.size() > kMaxReplyLineLength)
        finish(false, tr("The mail server sent a reply line that never ends."));
}

void SmtpClient::handleReply(int code, const QStringList& lines)
{
    m_replyTimer.stop();
    switch (m_state) {
    case State::Welcome:
        if (code != kServiceReady)
            return failAfterReply(code, lines);
        return sendCommand(State::Ehlo, "EHLO " + m_greetingName.toUtf8());
    case State::Ehlo:
        if (code != kOk)
            return sendCommand(State::Helo, "HELO " + m_greetingName.toUtf8());
        return handleGreetingReply(code, lines);
    case State::Helo:
        if (code != kOk)
            return failAfterReply(code, lines);
        return handleGreetingReply(code, lines);
    case State::StartTls:
        if (code != kServiceReady)
            return fail(tr("Start SSL negotiation command failed."));
        emit statusChanged(tr("Starting TLS."));
        // Whatever came in the clear after the go-ahead must not be read as
        // part of the encrypted session (a forged capability list, say).
        m_buffer.clear();
        m_replyLines.clear();
        m_state = State::TlsHandshake;
        m_replyTimer.start(m_replyTimeoutMs);
        m_socket->startClientEncryption();
        return;
    case State::AuthLogin:
        if (code != kAuthContinue)
            return failAfterReply(code, lines);
        return sendCommand(State::AuthUser, m_settings.user.toUtf8().toBase64());
    case State::AuthUser:
        if (code != kAuthContinue)
            return failAfterReply(code, lines);
        return sendCommand(State::AuthPassword, m_settings.password.toUtf8().toBase64());
    case State::AuthPassword:
        if (code != kAuthenticated)
            return failAfterReply(code, lines);
        m_authenticated = true;
        return startMailTransaction();
    case State::Reset:
        if (code != kOk)
            return failAfterReply(code, lines);
        return sendCommand(State::MailFrom, "MAIL FROM: <" + m_mail.from.toUtf8() + ">");
    case State::MailFrom:
        if (code != kOk)
            return failAfterReply(code, lines);
        return sendNextRecipient();
    case State::RcptTo:
        if (code != kOk && code != kUserNotLocal)
            return failAfterReply(code, lines);
        return sendNextRecipient();
    case State::Data:
        if (code != kStartMailInput)
            return failAfterReply(code, lines);
        emit statusChanged(tr("Sending the message."));
        m_socket->write(dotStuffed(m_mail.data) + "." + kCrLf);
        return expectReply(State::Message);
    case State::Message:
        if (code != kOk)
            return failAfterReply(code, lines);
        emit statusChanged(tr("The server accepted the message."));
        return quit();
    case State::Quit:
        return finish(m_pendingError.isEmpty(), m_pendingError);
    case State::Idle:
    case State::Connecting:
    case State::TlsHandshake:
        return;
    }
}

void SmtpClient::handleGreetingReply(int code, const QStringList& lines)
{
    Q_UNUSED(code);
    m_serverOffersStartTls = offers(lines, QStringLiteral("STARTTLS"));
    m_serverOffersAuthLogin = offersAuthLogin(lines);
    afterGreeting();
}

void SmtpClient::afterGreeting()
{
    if (m_settings.requireSsl && !m_encrypted) {
        if (m_serverOffersStartTls)
            return sendCommand(State::StartTls, "STARTTLS");
        emit statusChanged(tr("The server does not offer STARTTLS; sending without TLS."));
    }
    if (m_settings.auth && !m_authenticated && !m_settings.user.isEmpty() &&
        m_serverOffersAuthLogin) {
        emit statusChanged(tr("Logging in as %1.").arg(m_settings.user));
        return sendCommand(State::AuthLogin, "AUTH LOGIN");
    }
    startMailTransaction();
}

void SmtpClient::startMailTransaction()
{
    sendCommand(State::Reset, "RSET");
}

void SmtpClient::sendNextRecipient()
{
    if (m_nextRecipient < m_mail.recipients.size()) {
        const QString& recipient = m_mail.recipients.at(m_nextRecipient++);
        return sendCommand(State::RcptTo, "RCPT TO:<" + recipient.toUtf8() + ">");
    }
    sendCommand(State::Data, "DATA");
}

void SmtpClient::onEncrypted()
{
    m_replyTimer.stop();
    m_encrypted = true;
    emit statusChanged(tr("The connection is secured with TLS."));
    // What the server offers may change once the connection is private.
    m_serverOffersStartTls = false;
    m_serverOffersAuthLogin = false;
    sendCommand(State::Ehlo, "EHLO " + m_greetingName.toUtf8());
}

void SmtpClient::onSslErrors(const QList<QSslError>& errors)
{
    QStringList problems;
    for (const QSslError& error : errors)
        problems << error.errorString();
    m_certificateProblem = problems.join(QStringLiteral("; "));
}

void SmtpClient::onSocketError()
{
    if (m_state == State::Idle)
        return;
    if (m_state == State::Quit)
        return finish(m_pendingError.isEmpty(), m_pendingError);
    QString text = m_socket->errorString();
    if (!m_certificateProblem.isEmpty())
        text = tr("The server's certificate was refused: %1").arg(m_certificateProblem);
    else if (m_socket->error() == QAbstractSocket::RemoteHostClosedError)
        text = tr("The mail server closed the connection.");
    finish(false, text);
}

void SmtpClient::onDisconnected()
{
    if (m_state == State::Idle)
        return;
    if (m_state == State::Quit)
        return finish(m_pendingError.isEmpty(), m_pendingError);
    finish(false, tr("The mail server closed the connection."));
}

void SmtpClient::onReplyTimeout()
{
    if (m_state == State::Quit)
        return finish(m_pendingError.isEmpty(), m_pendingError);
    finish(false, tr("The mail server did not answer within %1 seconds.")
                      .arg(m_replyTimeoutMs / double(kMillisecondsPerSecond)));
}

void SmtpClient::sendCommand(State next, const QByteArray& command)
{
    m_socket->write(command + kCrLf);
    expectReply(next);
}

void SmtpClient::expectReply(State next)
{
    m_state = next;
    m_replyTimer.start(m_replyTimeoutMs);
}

void SmtpClient::fail(const QString& text)
{
    m_pendingError = text;
    quit();
}

void SmtpClient::failAfterReply(int code, const QStringList& lines)
{
    QStringList texts;
    for (const QString& line : lines)
        texts << line.mid(kReplyCodeLength + 1).trimmed();
    fail(QStringLiteral("%1 %2").arg(code).arg(texts.join(QLatin1Char(' '))));
}

void SmtpClient::quit()
{
    emit statusChanged(tr("Disconnecting."));
    sendCommand(State::Quit, "QUIT");
}

void SmtpClient::finish(bool ok, const QString& errorText)
{
    m_replyTimer.stop();
    m_state = State::Idle;
    if (m_socket) {
        m_socket->disconnect(this);
        m_socket->abort();
        // The socket may be inside one of its own signals right now.
        m_socket.release()->deleteLater();
        emit statusChanged(tr("Disconnected."));
    }
    emit finished(ok, errorText);
}
