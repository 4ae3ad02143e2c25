#include "app/core/SocketOwnership.h"

#include <QFile>
#include <QStringList>
#include <QtEndian>

#include <array>
#include <cstring>

#include <unistd.h>

namespace {
const QStringList kSystemTables = {QStringLiteral("/proc/net/tcp"),
                                   QStringLiteral("/proc/net/tcp6")};

constexpr int kIpv4HexDigits = 8;
constexpr int kIpv6HexDigits = 32;
constexpr int kHexDigitsPerWord = 8;
constexpr int kBytesPerWord = 4;

// Columns of a table row: "sl local rem st queues timer retrnsmt uid ...".
constexpr int kLocalColumn = 1;
constexpr int kRemoteColumn = 2;
constexpr int kStateColumn = 3;
constexpr int kUidColumn = 7;

// The kernel prints an address as 32-bit words in the machine's own byte
// order; copying each parsed word back into memory restores the bytes in the
// order they stand in the address.
std::optional<QHostAddress> ParseAddress(const QString& hex)
{
    if (hex.size() != kIpv4HexDigits && hex.size() != kIpv6HexDigits)
        return std::nullopt;
    std::array<quint8, 16> bytes{};
    const int words = static_cast<int>(hex.size()) / kHexDigitsPerWord;
    for (int word = 0; word < words; ++word) {
        bool ok = false;
        const quint32 value = hex.mid(word * kHexDigitsPerWord, kHexDigitsPerWord).toUInt(&ok, 16);
        if (!ok)
            return std::nullopt;
        std::memcpy(bytes.data() + word * kBytesPerWord, &value, kBytesPerWord);
    }
    if (words == 1) {
        quint32 networkOrder = 0;
        std::memcpy(&networkOrder, bytes.data(), kBytesPerWord);
        return QHostAddress(qFromBigEndian(networkOrder));
    }
    return QHostAddress(bytes.data());
}

// "0100007F:2584" -> 127.0.0.1, 9604.
bool ParseEndpoint(const QString& text, QHostAddress& address, quint16& port)
{
    const int colon = static_cast<int>(text.indexOf(QLatin1Char(':')));
    if (colon < 0)
        return false;
    const auto parsed = ParseAddress(text.left(colon));
    bool ok = false;
    const uint portValue = text.mid(colon + 1).toUInt(&ok, 16);
    if (!parsed || !ok || portValue > 0xFFFF)
        return false;
    address = *parsed;
    port = static_cast<quint16>(portValue);
    return true;
}

std::optional<SocketOwnership::Entry> ParseRow(const QString& line)
{
    const QStringList columns = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (columns.size() <= kUidColumn || !columns.first().endsWith(QLatin1Char(':')))
        return std::nullopt;
    SocketOwnership::Entry entry;
    bool stateOk = false;
    bool uidOk = false;
    entry.state = columns.at(kStateColumn).toInt(&stateOk, 16);
    entry.uid = columns.at(kUidColumn).toUInt(&uidOk, 10);
    if (!stateOk || !uidOk ||
        !ParseEndpoint(columns.at(kLocalColumn), entry.localAddress, entry.localPort) ||
        !ParseEndpoint(columns.at(kRemoteColumn), entry.remoteAddress, entry.remotePort))
        return std::nullopt;
    return entry;
}

bool SameAddress(const QHostAddress& a, const QHostAddress& b)
{
    // Not TolerantConversion: that takes ::1 for 127.0.0.1, which are two
    // different sockets.
    return a.isEqual(b, QHostAddress::ConvertV4MappedToIPv4);
}

bool IsWildcard(const QHostAddress& address)
{
    return SameAddress(address, QHostAddress(QHostAddress::AnyIPv4)) ||
           address == QHostAddress(QHostAddress::AnyIPv6);
}
} // namespace

QList<SocketOwnership::Entry> SocketOwnership::ParseTable(const QString& text)
{
    QList<Entry> entries;
    const QStringList lines = text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString& line : lines) {
        if (const auto entry = ParseRow(line))
            entries.append(*entry);
    }
    return entries;
}

std::optional<SocketOwnership::Uid>
SocketOwnership::ConnectionOwner(const QList<Entry>& entries, const QHostAddress& local,
                                 quint16 localPort, const QHostAddress& remote, quint16 remotePort)
{
    for (const Entry& entry : entries) {
        if (entry.state != kStateListen && entry.localPort == localPort &&
            entry.remotePort == remotePort && SameAddress(entry.localAddress, local) &&
            SameAddress(entry.remoteAddress, remote))
            return entry.uid;
    }
    return std::nullopt;
}

std::optional<SocketOwnership::Uid> SocketOwnership::ListenerOwner(const QList<Entry>& entries,
                                                                   const QHostAddress& address,
                                                                   quint16 port)
{
    for (const Entry& entry : entries) {
        if (entry.state == kStateListen && entry.localPort == port &&
            (SameAddress(entry.localAddress, address) || IsWildcard(entry.localAddress)))
            return entry.uid;
    }
    return std::nullopt;
}

QList<SocketOwnership::Entry> SocketOwnership::ReadSystemTables()
{
    QList<Entry> entries;
    for (const QString& path : kSystemTables) {
        QFile table(path);
        // The tables are generated on reading: their size is unknown
        // beforehand, so read until the end rather than by size.
        if (table.open(QIODevice::ReadOnly | QIODevice::Text))
            entries += ParseTable(QString::fromLatin1(table.readAll()));
    }
    return entries;
}

SocketOwnership::Uid SocketOwnership::CurrentUser()
{
    return static_cast<Uid>(::getuid());
}
