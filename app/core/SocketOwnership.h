#pragma once

#include <QHostAddress>
#include <QList>
#include <QString>

#include <optional>

// Who owns a TCP socket on this machine, read from the kernel's socket tables
// (/proc/net/tcp and /proc/net/tcp6). The loopback port of the command server
// is one for all users of a machine, so both ends of a hand-off ask this
// before they trust the other: the server serves only connections of its own
// user, and a start hands its file only to a server of its own user.
class SocketOwnership
{
public:
    using Uid = unsigned int;

    // The TCP state the kernel writes for a listening socket.
    static constexpr int kStateListen = 0x0A;
    static constexpr int kStateEstablished = 0x01;

    struct Entry
    {
        QHostAddress localAddress;
        quint16 localPort = 0;
        QHostAddress remoteAddress;
        quint16 remotePort = 0;
        int state = 0;
        Uid uid = 0;
    };

    // The rows of one table as the kernel writes it (a header line, then one
    // line per socket). Lines that cannot be read are skipped.
    static QList<Entry> ParseTable(const QString& text);

    // The owner of the connected socket whose own end is local and whose
    // other end is remote (addresses compared with IPv4-mapped IPv6 addresses
    // taken as IPv4).
    static std::optional<Uid> ConnectionOwner(const QList<Entry>& entries,
                                              const QHostAddress& local, quint16 localPort,
                                              const QHostAddress& remote, quint16 remotePort);
    // The owner of the socket listening on the port at this address or at a
    // wildcard address (which takes the port for the loopback address too).
    static std::optional<Uid> ListenerOwner(const QList<Entry>& entries,
                                            const QHostAddress& address, quint16 port);

    // Both tables of this machine, read now; empty when they cannot be read.
    static QList<Entry> ReadSystemTables();

    // The user this process runs as.
    static Uid CurrentUser();
};
