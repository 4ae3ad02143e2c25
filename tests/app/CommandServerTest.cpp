#include "app/core/CommandServer.h"
#include "app/core/IntakeQueue.h"
#include "tests/app/LoopbackHelpers.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

#include <gtest/gtest.h>

#include <vector>

#include <unistd.h>

namespace {
constexpr int kWaitMs = 3000;
constexpr int kStaysOpenMs = 300;

QStringList drain(IntakeQueue& queue)
{
    QStringList paths;
    for (QString path = queue.DequeueFile(); !path.isEmpty(); path = queue.DequeueFile())
        paths.append(path);
    return paths;
}

// A client on the test's thread; the server answers from its own thread, so
// blocking waits here are safe.
class Client
{
public:
    explicit Client(quint16 port)
    {
        m_socket.connectToHost(QHostAddress(QHostAddress::LocalHost), port);
        m_socket.waitForConnected(kWaitMs);
    }

    QByteArray readLine()
    {
        while (!m_socket.canReadLine()) {
            if (!m_socket.waitForReadyRead(kWaitMs))
                return {};
        }
        return m_socket.readLine().trimmed();
    }

    void send(const QByteArray& bytes)
    {
        m_socket.write(bytes);
        m_socket.waitForBytesWritten(kWaitMs);
    }

    // True when the server closes the connection within the time given.
    bool closedWithin(int milliseconds)
    {
        if (m_socket.state() == QAbstractSocket::UnconnectedState)
            return true;
        return m_socket.waitForDisconnected(milliseconds);
    }

private:
    QTcpSocket m_socket;
};

class CommandServerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        port = loopback::freePort();
        server = std::make_unique<CommandServer>(queue, port);
        const auto activation = server->Activate();
        ASSERT_EQ(activation.outcome, CommandServer::Activation::Listening)
            << activation.errorText.toStdString();
    }

    IntakeQueue queue;
    quint16 port = 0;
    std::unique_ptr<CommandServer> server;
};

struct ProtocolCase
{
    const char* name;
    // Written one after the other, with a pause between, so that a line can
    // arrive in pieces.
    std::vector<QByteArray> chunks;
    std::vector<QByteArray> replies;
    QStringList queued;
    bool closedByServer;
};

const std::vector<ProtocolCase>& protocolCases()
{
    static const std::vector<ProtocolCase> table{
        {"QuotedPath", {"open\t\"/tmp/a.tif\"\r\n"}, {"200 OK"}, {"/tmp/a.tif"}, true},
        {"CommandInCapitals", {"OPEN\t\"/tmp/b.tif\"\r\n"}, {"200 OK"}, {"/tmp/b.tif"}, true},
        {"UnquotedPath",
         {"open\t/tmp/my faxes/c.tif\r\n"},
         {"200 OK"},
         {"/tmp/my faxes/c.tif"},
         true},
        {"LineFeedAloneEndsTheLine", {"open\t\"/tmp/d.tif\"\n"}, {"200 OK"}, {"/tmp/d.tif"}, true},
        {"DoubledQuotesStandForOne",
         {"open\t\"/tmp/say \"\"hi\"\".tif\"\r\n"},
         {"200 OK"},
         {"/tmp/say \"hi\".tif"},
         true},
        {"BlanksAroundAreTrimmed",
         {"open\t  \" /tmp/e.tif \"  \r\n"},
         {"200 OK"},
         {"/tmp/e.tif"},
         true},
        {"NonAsciiPathAsUtf8",
         {QStringLiteral("open\t\"/tmp/Факс №1.tif\"\r\n").toUtf8()},
         {"200 OK"},
         {QStringLiteral("/tmp/Факс №1.tif")},
         true},
        {"BareOpenQueuesNothing", {"open\r\n"}, {"200 OK"}, {}, true},
        {"OpenWithBlanksOnlyQueuesNothing", {"open\t   \r\n"}, {"200 OK"}, {}, true},
        {"OtherLineLeavesConnectionOpen", {"help\r\n"}, {"400 Unknown Command"}, {}, false},
        {"OpenAfterUnknownLineStillWorks",
         {"help\r\n", "open\t\"/tmp/f.tif\"\r\n"},
         {"400 Unknown Command", "200 OK"},
         {"/tmp/f.tif"},
         true},
        {"OpenFollowedByBlankIsNotOpen",
         {"open /tmp/g.tif\r\n"},
         {"400 Unknown Command"},
         {},
         false},
        {"LineArrivingInPieces",
         {"op", "en\t\"/tmp/", "h.tif\"\r", "\n"},
         {"200 OK"},
         {"/tmp/h.tif"},
         true},
        {"OverlongLineIsDropped",
         {"open\t\"" + QByteArray(CommandServer::kMaxLineLength + 10, 'x')},
         {"400 Unknown Command"},
         {},
         true},
    };
    return table;
}

class ProtocolTest : public CommandServerTest, public ::testing::WithParamInterface<ProtocolCase>
{
};

TEST_P(ProtocolTest, RepliesAndQueues)
{
    const ProtocolCase& row = GetParam();
    Client client(port);
    EXPECT_EQ(client.readLine(), QByteArray("200 Welcome"));
    for (const QByteArray& chunk : row.chunks) {
        client.send(chunk);
        QThread::msleep(20);
    }
    for (const QByteArray& expected : row.replies)
        EXPECT_EQ(client.readLine(), expected);
    EXPECT_EQ(client.closedWithin(row.closedByServer ? kWaitMs : kStaysOpenMs), row.closedByServer);
    EXPECT_EQ(drain(queue), row.queued);
}

INSTANTIATE_TEST_SUITE_P(Lines, ProtocolTest, ::testing::ValuesIn(protocolCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(CommandServerTest, ServesOneConnectionAfterAnother)
{
    for (const char* path : {"/tmp/one.tif", "/tmp/two.tif", "/tmp/three.tif"}) {
        Client client(port);
        client.readLine();
        client.send(QByteArray("open\t\"") + path + "\"\r\n");
        EXPECT_EQ(client.readLine(), QByteArray("200 OK"));
    }
    EXPECT_EQ(drain(queue), QStringList({"/tmp/one.tif", "/tmp/two.tif", "/tmp/three.tif"}));
}

TEST_F(CommandServerTest, AnswersWhileTheUserInterfaceThreadIsBusy)
{
    // The test's own thread blocks in the client below and never returns to
    // an event loop: the server must still greet and answer.
    Client client(port);
    EXPECT_EQ(client.readLine(), QByteArray("200 Welcome"));
    client.send("open\t\"/tmp/busy.tif\"\r\n");
    EXPECT_EQ(client.readLine(), QByteArray("200 OK"));
}

TEST_F(CommandServerTest, ConnectionOfOurOwnUserIsServed)
{
    const QByteArray talk = loopback::talkAs(false, port, "open\t\"/tmp/mine.tif\"\r\n");
    EXPECT_EQ(talk, QByteArray("200 Welcome\r\n200 OK\r\n"));
    EXPECT_EQ(drain(queue), QStringList({"/tmp/mine.tif"}));
}

TEST_F(CommandServerTest, ConnectionOfAnotherUserIsRefused)
{
    const QString why = loopback::whyNoOtherUser();
    if (!why.isEmpty())
        GTEST_SKIP() << "Skipped: the refusal of another user's connection " << why.toStdString();
    const QByteArray talk = loopback::talkAs(true, port, "open\t\"/tmp/theirs.tif\"\r\n");
    EXPECT_TRUE(talk.startsWith("500 Unknown Internal Error\r\n")) << talk.toStdString();
    EXPECT_FALSE(talk.contains("200")) << talk.toStdString();
    EXPECT_TRUE(drain(queue).isEmpty());
    // The refusal ends that connection only; our own user is still served.
    EXPECT_EQ(loopback::talkAs(false, port, "open\t\"/tmp/after.tif\"\r\n"),
              QByteArray("200 Welcome\r\n200 OK\r\n"));
}

TEST(CommandServerActivation, PortTakenIsReportedAsAddressInUse)
{
    IntakeQueue queue;
    const quint16 port = loopback::freePort();
    CommandServer first(queue, port);
    ASSERT_EQ(first.Activate().outcome, CommandServer::Activation::Listening);
    CommandServer second(queue, port);
    const auto activation = second.Activate();
    EXPECT_EQ(activation.outcome, CommandServer::Activation::AddressInUse);
    EXPECT_FALSE(activation.errorText.isEmpty());
    EXPECT_FALSE(second.isActive());
}

TEST(CommandServerActivation, DeactivatedServerFreesThePort)
{
    IntakeQueue queue;
    const quint16 port = loopback::freePort();
    {
        CommandServer first(queue, port);
        ASSERT_EQ(first.Activate().outcome, CommandServer::Activation::Listening);
        first.Deactivate();
        EXPECT_FALSE(first.isActive());
        CommandServer second(queue, port);
        EXPECT_EQ(second.Activate().outcome, CommandServer::Activation::Listening);
    }
}

TEST(CommandServerActivation, OtherFailureIsNotAddressInUse)
{
    // Ports below 1024 are reserved for root; as root the test has no way to
    // make listening fail other than by the address being taken.
    if (::getuid() == 0)
        GTEST_SKIP() << "Skipped: root may listen on any port, so no other failure can be made";
    IntakeQueue queue;
    CommandServer server(queue, 1);
    EXPECT_EQ(server.Activate().outcome, CommandServer::Activation::Failed);
}
} // namespace
