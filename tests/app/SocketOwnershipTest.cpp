#include "app/core/SocketOwnership.h"
#include "tests/app/LoopbackHelpers.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtEndian>

#include <gtest/gtest.h>

namespace {
// Tables as a little-endian machine writes them: 127.0.0.1 is "0100007F",
// port 9536 is "2540". A server on 9536, one client of uid 1001 connected to
// it from port 54321 (0xD431), and a wildcard listener on 8080 (0x1F90).
const char* const kTcpTable =
    "  sl  local_address rem_address   st tx_queue rx_queue tr tm->when retrnsmt   uid  "
    "timeout inode\n"
    "   0: 0100007F:2540 00000000:0000 0A 00000000:00000000 00:00000000 00000000  1000        "
    "0 12345 1 0000000000000000 100 0 0 10 0\n"
    "   1: 0100007F:2540 0100007F:D431 01 00000000:00000000 00:00000000 00000000  1000        "
    "0 12346 1 0000000000000000 20 4 30 10 -1\n"
    "   2: 0100007F:D431 0100007F:2540 01 00000000:00000000 00:00000000 00000000  1001        "
    "0 12347 1 0000000000000000 20 4 30 10 -1\n"
    "   3: 00000000:1F90 00000000:0000 0A 00000000:00000000 00:00000000 00000000     0        "
    "0 777 1 0000000000000000 100 0 0 10 0\n"
    "   4: garbage line that is not a socket\n";

// An IPv4 client on a dual-stack socket (::ffff:127.0.0.1, port 50000 =
// 0xC350) connected to the server on 9536, and ::1 listening on 9537.
const char* const kTcp6Table =
    "  sl  local_address                         remote_address                        st "
    "tx_queue rx_queue tr tm->when retrnsmt   uid  timeout inode\n"
    "   0: 0000000000000000FFFF00000100007F:C350 0000000000000000FFFF00000100007F:2540 01 "
    "00000000:00000000 00:00000000 00000000  1002        0 999 1 0000000000000000 20 4 0 10 -1\n"
    "   1: 00000000000000000000000001000000:2541 00000000000000000000000000000000:0000 0A "
    "00000000:00000000 00:00000000 00000000  1003        0 998 1 0000000000000000 100 0 0 10 0\n";

const QHostAddress kLoopback(QHostAddress::LocalHost);
constexpr quint16 kServerPort = 9536;

class SocketOwnershipTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (QSysInfo::ByteOrder != QSysInfo::LittleEndian)
            GTEST_SKIP() << "Skipped: the sample tables are written as a little-endian machine "
                            "writes them";
        entries = SocketOwnership::ParseTable(QString::fromLatin1(kTcpTable)) +
                  SocketOwnership::ParseTable(QString::fromLatin1(kTcp6Table));
    }

    QList<SocketOwnership::Entry> entries;
};

TEST_F(SocketOwnershipTest, ReadsEverySocketRowAndSkipsTheRest)
{
    ASSERT_EQ(entries.size(), 6);
    const auto& client = entries.at(2);
    EXPECT_EQ(client.localAddress, kLoopback);
    EXPECT_EQ(client.localPort, 54321);
    EXPECT_EQ(client.remoteAddress, kLoopback);
    EXPECT_EQ(client.remotePort, kServerPort);
    EXPECT_EQ(client.state, SocketOwnership::kStateEstablished);
    EXPECT_EQ(client.uid, 1001u);
    EXPECT_EQ(entries.at(5).localAddress, QHostAddress(QHostAddress::LocalHostIPv6));
}

TEST_F(SocketOwnershipTest, ConnectionOwnerIsTheUserOfThePeersEnd)
{
    // Seen from the server, the peer's end is its remote end: the owner is
    // that of the socket whose local end it is, not the server's own socket.
    EXPECT_EQ(SocketOwnership::ConnectionOwner(entries, kLoopback, 54321, kLoopback, kServerPort),
              1001u);
    EXPECT_EQ(SocketOwnership::ConnectionOwner(entries, kLoopback, kServerPort, kLoopback, 54321),
              1000u);
    EXPECT_EQ(SocketOwnership::ConnectionOwner(entries, kLoopback, 50000, kLoopback, kServerPort),
              1002u);
    EXPECT_FALSE(
        SocketOwnership::ConnectionOwner(entries, kLoopback, 54322, kLoopback, kServerPort));
}

TEST_F(SocketOwnershipTest, ListenerOwnerTakesWildcardsIntoAccount)
{
    EXPECT_EQ(SocketOwnership::ListenerOwner(entries, kLoopback, kServerPort), 1000u);
    EXPECT_EQ(SocketOwnership::ListenerOwner(entries, kLoopback, 8080), 0u);
    EXPECT_EQ(
        SocketOwnership::ListenerOwner(entries, QHostAddress(QHostAddress::LocalHostIPv6), 9537),
        1003u);
    // ::1 does not take the port for 127.0.0.1.
    EXPECT_FALSE(SocketOwnership::ListenerOwner(entries, kLoopback, 9537));
    // A connected socket is no listener.
    EXPECT_FALSE(SocketOwnership::ListenerOwner(entries, kLoopback, 54321));
}

TEST(SocketOwnershipSystem, FindsOurOwnListenerAndConnection)
{
    QTcpServer server;
    ASSERT_TRUE(server.listen(kLoopback, loopback::freePort()));
    QTcpSocket client;
    client.connectToHost(kLoopback, server.serverPort());
    ASSERT_TRUE(client.waitForConnected(3000));

    const auto entries = SocketOwnership::ReadSystemTables();
    EXPECT_EQ(SocketOwnership::ListenerOwner(entries, kLoopback, server.serverPort()),
              SocketOwnership::CurrentUser());
    EXPECT_EQ(SocketOwnership::ConnectionOwner(entries, kLoopback, client.localPort(), kLoopback,
                                               server.serverPort()),
              SocketOwnership::CurrentUser());
}
} // namespace
