#include "app/core/FileHandOff.h"
#include "app/core/CommandServer.h"
#include "app/core/IntakeQueue.h"
#include "tests/app/LoopbackHelpers.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QHostAddress>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {
struct CommandCase
{
    const char* name;
    QString path;
    QByteArray line;
};

TEST(FileHandOffCommand, QuotesThePathAndEndsTheLine)
{
    const std::vector<CommandCase> table{
        {"Plain", QStringLiteral("/tmp/a.tif"), "open\t\"/tmp/a.tif\"\r\n"},
        {"Blanks", QStringLiteral("/tmp/my faxes/a b.tif"), "open\t\"/tmp/my faxes/a b.tif\"\r\n"},
        {"QuoteDoubled", QStringLiteral("/tmp/\"x\".tif"), "open\t\"/tmp/\"\"x\"\".tif\"\r\n"},
        {"Utf8", QStringLiteral("/tmp/Факс.tif"),
         QStringLiteral("open\t\"/tmp/Факс.tif\"\r\n").toUtf8()},
    };
    for (const CommandCase& row : table)
        EXPECT_EQ(FileHandOff::OpenCommand(row.path), row.line) << row.name;
}

TEST(FileHandOff, PathReachesTheQueueExactlyAsPassed)
{
    IntakeQueue queue;
    const quint16 port = loopback::freePort();
    CommandServer server(queue, port);
    ASSERT_EQ(server.Activate().outcome, CommandServer::Activation::Listening);

    const QStringList paths{QStringLiteral("/tmp/Spool/Page.TIF"),
                            QStringLiteral("/tmp/a \"quoted\" name.tif"),
                            QStringLiteral("/tmp/Факс №2.png")};
    for (const QString& path : paths)
        EXPECT_TRUE(FileHandOff::HandOver(path, port).ok()) << path.toStdString();
    for (const QString& path : paths)
        EXPECT_EQ(queue.DequeueFile(), path);
}

TEST(FileHandOff, NoServerIsAFailure)
{
    const Status handedOver =
        FileHandOff::HandOver(QStringLiteral("/tmp/a.tif"), loopback::freePort());
    EXPECT_FALSE(handedOver.ok());
    EXPECT_FALSE(handedOver.text().isEmpty());
}

TEST(FileHandOff, SilentServerIsNoFailure)
{
    // The kernel accepts the connection into the backlog; nobody ever
    // answers. Not hearing back within the limit is not a failure.
    QTcpServer silent;
    ASSERT_TRUE(silent.listen(QHostAddress(QHostAddress::LocalHost), loopback::freePort()));
    EXPECT_TRUE(FileHandOff::HandOver(QStringLiteral("/tmp/a.tif"), silent.serverPort()).ok());
}

TEST(FileHandOff, PathWithLineBreakIsNotSent)
{
    IntakeQueue queue;
    const quint16 port = loopback::freePort();
    CommandServer server(queue, port);
    ASSERT_EQ(server.Activate().outcome, CommandServer::Activation::Listening);
    EXPECT_FALSE(FileHandOff::HandOver(QStringLiteral("/tmp/a\nhelp.tif"), port).ok());
    EXPECT_EQ(queue.count(), 0);
}

TEST(FileHandOffOwner, OurOwnServerAndNoServer)
{
    IntakeQueue queue;
    const quint16 port = loopback::freePort();
    EXPECT_EQ(FileHandOff::OwnerOfServer(port), FileHandOff::ServerOwner::Unknown);
    CommandServer server(queue, port);
    ASSERT_EQ(server.Activate().outcome, CommandServer::Activation::Listening);
    EXPECT_EQ(FileHandOff::OwnerOfServer(port), FileHandOff::ServerOwner::CurrentUser);
}

TEST(FileHandOffOwner, ServerOfAnotherUser)
{
    const QString why = loopback::whyNoOtherUser();
    if (!why.isEmpty())
        GTEST_SKIP() << "Skipped: a listener of another user " << why.toStdString();
    const quint16 port = loopback::freePort();
    const QString id = QString::number(loopback::kOtherUid);
    QProcess listener;
    listener.start(QStringLiteral("/usr/bin/setpriv"),
                   {QStringLiteral("--reuid=") + id, QStringLiteral("--regid=") + id,
                    QStringLiteral("--clear-groups"), testfiles::systemPython(),
                    QStringLiteral("-c"),
                    QStringLiteral("import socket,sys,time\n"
                                   "s=socket.socket()\n"
                                   "s.bind(('127.0.0.1',%1))\n"
                                   "s.listen(1)\n"
                                   "print('ready',flush=True)\n"
                                   "time.sleep(30)\n")
                        .arg(port)});
    ASSERT_TRUE(listener.waitForReadyRead(10000)) << listener.readAllStandardError().toStdString();
    EXPECT_EQ(FileHandOff::OwnerOfServer(port), FileHandOff::ServerOwner::OtherUser);
    listener.kill();
    listener.waitForFinished();
}
} // namespace

TEST(FileHandOff, RelativePathIsSentAsAnAbsoluteOne)
{
    // The running instance has a working folder of its own.
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(folder.path()));
    IntakeQueue queue;
    const quint16 port = loopback::freePort();
    CommandServer server(queue, port);
    ASSERT_EQ(server.Activate().outcome, CommandServer::Activation::Listening);
    const bool handedOver = FileHandOff::HandOver(QStringLiteral("scan.tif"), port).ok();
    QDir::setCurrent(previous);
    EXPECT_TRUE(handedOver);
    EXPECT_EQ(queue.DequeueFile(), QDir(folder.path()).filePath(QStringLiteral("scan.tif")));
}

TEST(FileHandOff, ServerThatRefusesUsIsAFailure)
{
    // A server that answers 500 at once (as one of another user does) has
    // not taken the document: the start must open it itself.
    const quint16 port = loopback::freePort();
    QProcess refusing;
    refusing.start(
        testfiles::systemPython(),
        {QStringLiteral("-c"),
         QStringLiteral("import socket,sys\n"
                        "s=socket.socket(); s.setsockopt(socket.SOL_SOCKET, "
                        "socket.SO_REUSEADDR, 1)\n"
                        "s.bind(('127.0.0.1', %1)); s.listen(1)\n"
                        "print('ready', flush=True)\n"
                        "c,_=s.accept(); c.sendall(b'500 Unknown Internal Error\\r\\n')\n"
                        "c.close()\n")
             .arg(port)});
    ASSERT_TRUE(refusing.waitForReadyRead(10000)) << refusing.errorString().toStdString();
    const Status handedOver = FileHandOff::HandOver(QStringLiteral("/tmp/a.tif"), port);
    EXPECT_FALSE(handedOver.ok());
    EXPECT_TRUE(handedOver.text().startsWith(QStringLiteral("500")))
        << handedOver.text().toStdString();
    refusing.waitForFinished(5000);
}
