#include "app/core/FileHandOff.h"

#include "app/core/SocketOwnership.h"

#include <QFileInfo>
#include <QHostAddress>
#include <QTcpSocket>

namespace {
const QString kQuote = QStringLiteral("\"");
const QString kDoubledQuote = QStringLiteral("\"\"");
const QByteArray kOpenWord = QByteArrayLiteral("open\t");
const QByteArray kLineEnd = QByteArrayLiteral("\r\n");
constexpr int kWriteTimeoutMs = 500;
constexpr int kDisconnectTimeoutMs = 500;

bool ContainsLineBreak(const QString& path)
{
    return path.contains(QLatin1Char('\n')) || path.contains(QLatin1Char('\r'));
}
} // namespace

FileHandOff::ServerOwner FileHandOff::OwnerOfServer(quint16 port)
{
    const auto owner = SocketOwnership::ListenerOwner(SocketOwnership::ReadSystemTables(),
                                                      QHostAddress(QHostAddress::LocalHost), port);
    if (!owner)
        return ServerOwner::Unknown;
    return *owner == SocketOwnership::CurrentUser() ? ServerOwner::CurrentUser
                                                    : ServerOwner::OtherUser;
}

QByteArray FileHandOff::OpenCommand(const QString& path)
{
    // The server reads a doubled quote as one, so a quote in a file name
    // must be doubled to reach it whole.
    QString quoted = path;
    quoted.replace(kQuote, kDoubledQuote);
    return kOpenWord + (kQuote + quoted + kQuote).toUtf8() + kLineEnd;
}

Status FileHandOff::HandOver(const QString& path, quint16 port)
{
    if (ContainsLineBreak(path))
        return Status::failure(QStringLiteral("A path with a line break cannot be handed over"));
    QTcpSocket socket;
    socket.connectToHost(QHostAddress(QHostAddress::LocalHost), port);
    if (!socket.waitForConnected(kConnectTimeoutMs))
        return Status::failure(socket.errorString());
    // The running instance may have another working folder: a relative
    // path must name the same file there.
    socket.write(OpenCommand(QFileInfo(path).absoluteFilePath()));
    if (!socket.waitForBytesWritten(kWriteTimeoutMs))
        return Status::failure(socket.errorString());
    // One line back (in practice the greeting); a server that stays silent
    // has still been given the path. A server that refuses us outright
    // (another user's, which answers 4xx/5xx at once) has not.
    if (!socket.canReadLine())
        socket.waitForReadyRead(kReplyTimeoutMs);
    const QByteArray reply = socket.readLine();
    socket.disconnectFromHost();
    if (socket.state() != QAbstractSocket::UnconnectedState)
        socket.waitForDisconnected(kDisconnectTimeoutMs);
    if (reply.startsWith('4') || reply.startsWith('5'))
        return Status::failure(QString::fromUtf8(reply.trimmed()));
    return Status::success();
}
