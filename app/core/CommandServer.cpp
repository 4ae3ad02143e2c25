#include "app/core/CommandServer.h"

#include "app/core/IntakeQueue.h"
#include "app/core/SocketOwnership.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>

#include <exception>

namespace {
const QByteArray kGreeting = QByteArrayLiteral("200 Welcome");
const QByteArray kOpenDone = QByteArrayLiteral("200 OK");
const QByteArray kUnknownCommand = QByteArrayLiteral("400 Unknown Command");
const QByteArray kInternalError = QByteArrayLiteral("500 Unknown Internal Error");
const QByteArray kLineEnd = QByteArrayLiteral("\r\n");

constexpr char kCommandDelimiter = '\t';
constexpr QChar kQuote = QLatin1Char('"');
const QString kOpenWord = QStringLiteral("open");

struct Reply
{
    QByteArray line;
    bool closeAfterwards = false;
};

void SendLine(QTcpSocket& socket, const QByteArray& line)
{
    socket.write(line + kLineEnd);
}

// The loopback port is shared by every user of the machine: only a peer whose
// socket belongs to our own user may hand us a path.
bool PeerIsOurUser(const QTcpSocket& socket)
{
    const auto owner = SocketOwnership::ConnectionOwner(SocketOwnership::ReadSystemTables(),
                                                        socket.peerAddress(), socket.peerPort(),
                                                        socket.localAddress(), socket.localPort());
    return owner && *owner == SocketOwnership::CurrentUser();
}
} // namespace

// The server's side on its own thread: the listening socket and the
// connections, each with the bytes of its unfinished line.
class CommandServer::Worker : public QObject
{
public:
    explicit Worker(IntakeQueue& queue) : m_queue(queue) {}

    ActivationResult Listen(quint16 port)
    {
        auto server = std::make_unique<QTcpServer>(this);
        if (!server->listen(QHostAddress(QHostAddress::LocalHost), port)) {
            const auto outcome = server->serverError() == QAbstractSocket::AddressInUseError
                                     ? Activation::AddressInUse
                                     : Activation::Failed;
            return {outcome, server->errorString()};
        }
        connect(server.get(), &QTcpServer::newConnection, this, &Worker::AcceptConnections);
        m_server = std::move(server);
        return {Activation::Listening, {}};
    }

    // Deleting the server deletes the connections it handed out (its children).
    void Close() { m_server.reset(); }

private:
    void AcceptConnections()
    {
        while (QTcpSocket* socket = m_server->nextPendingConnection())
            Serve(*socket);
    }

    void Serve(QTcpSocket& socket)
    {
        connect(&socket, &QTcpSocket::disconnected, &socket, &QObject::deleteLater);
        if (!PeerIsOurUser(socket)) {
            SendLine(socket, kInternalError);
            socket.disconnectFromHost();
            return;
        }
        // Each connection keeps its unfinished line in the lambda's buffer.
        auto pending = std::make_shared<QByteArray>();
        connect(&socket, &QTcpSocket::readyRead, &socket,
                [this, &socket, pending] { ReadLines(socket, *pending); });
        SendLine(socket, kGreeting);
    }

    void ReadLines(QTcpSocket& socket, QByteArray& pending)
    {
        pending += socket.readAll();
        while (socket.state() == QAbstractSocket::ConnectedState) {
            const auto end = pending.indexOf('\n');
            if (end < 0 || end > kMaxLineLength) {
                if (pending.size() > kMaxLineLength)
                    DropOverlongLine(socket, pending);
                return;
            }
            QByteArray line = pending.left(end);
            pending.remove(0, end + 1);
            if (line.endsWith('\r'))
                line.chop(1);
            const Reply reply = Handle(line);
            SendLine(socket, reply.line);
            if (reply.closeAfterwards) {
                pending.clear();
                socket.disconnectFromHost();
                return;
            }
        }
    }

    static void DropOverlongLine(QTcpSocket& socket, QByteArray& pending)
    {
        pending.clear();
        SendLine(socket, kUnknownCommand);
        socket.disconnectFromHost();
    }

    Reply Handle(const QByteArray& line)
    {
        try {
            const Command command = ParseLine(line);
            if (!command.isOpen)
                return {kUnknownCommand, false};
            m_queue.EnqueueFile(command.path);
            return {kOpenDone, true};
        } catch (const std::exception&) {
            // Out of memory while queueing: the peer hears of it and may try
            // again; the server goes on serving.
            return {kInternalError, false};
        }
    }

    IntakeQueue& m_queue;
    std::unique_ptr<QTcpServer> m_server;
};

CommandServer::Command CommandServer::ParseLine(const QByteArray& line)
{
    // Paths travel as UTF-8, the encoding of file names on this system.
    const QString text = QString::fromUtf8(line);
    const auto delimiter = text.indexOf(QLatin1Char(kCommandDelimiter));
    const QString word = delimiter < 0 ? text : text.left(delimiter);
    Command command;
    command.isOpen = word.compare(kOpenWord, Qt::CaseInsensitive) == 0;
    if (command.isOpen && delimiter >= 0)
        command.path = Unquote(text.mid(delimiter + 1).trimmed());
    return command;
}

QString CommandServer::Unquote(const QString& parameter)
{
    if (!parameter.startsWith(kQuote))
        return parameter;
    QString text;
    for (qsizetype i = 1; i < parameter.size(); ++i) {
        const QChar c = parameter.at(i);
        if (c != kQuote) {
            text.append(c);
            continue;
        }
        const bool doubled = i + 1 < parameter.size() && parameter.at(i + 1) == kQuote;
        if (!doubled)
            break; // the closing quote; anything after it is not part of the path
        text.append(kQuote);
        ++i;
    }
    return text;
}

CommandServer::CommandServer(IntakeQueue& queue, quint16 port, QObject* parent)
    : QObject(parent), m_port(port), m_worker(std::make_unique<Worker>(queue))
{
    m_thread.setObjectName(QStringLiteral("CommandServer"));
    m_worker->moveToThread(&m_thread);
}

CommandServer::~CommandServer()
{
    Deactivate();
    m_thread.quit();
    m_thread.wait();
}

CommandServer::ActivationResult CommandServer::Activate()
{
    if (m_active)
        return {Activation::Listening, {}};
    // The thread runs only in a start that serves; most starts never do.
    if (!m_thread.isRunning())
        m_thread.start();
    ActivationResult result;
    Worker* worker = m_worker.get();
    const quint16 port = m_port;
    QMetaObject::invokeMethod(
        worker, [worker, port] { return worker->Listen(port); }, Qt::BlockingQueuedConnection,
        &result);
    m_active = result.outcome == Activation::Listening;
    return result;
}

void CommandServer::Deactivate()
{
    if (!m_active)
        return;
    Worker* worker = m_worker.get();
    QMetaObject::invokeMethod(
        worker, [worker] { worker->Close(); }, Qt::BlockingQueuedConnection);
    m_active = false;
}

bool CommandServer::isActive() const
{
    return m_active;
}
