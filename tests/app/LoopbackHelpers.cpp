#include "tests/app/LoopbackHelpers.h"

#include "tests/support/TestFiles.h"

#include <QFileInfo>
#include <QHostAddress>
#include <QProcess>
#include <QTcpServer>

#include <unistd.h>

namespace loopback {
namespace {
const QString kSetpriv = QStringLiteral("/usr/bin/setpriv");
constexpr int kClientTimeoutMs = 10000;

// Reads the greeting before it sends: a server that refuses a peer closes at
// once, and a line sent into a closing socket could reset the connection
// before the refusal is read.
const char* const kClientScript = R"(
import socket, sys
out = b''
try:
    s = socket.create_connection(('127.0.0.1', int(sys.argv[1])), timeout=5)
    f = s.makefile('rb')
    out += f.readline()
    s.sendall(sys.argv[2].encode('utf-8', 'surrogateescape'))
    while True:
        d = f.read1(4096)
        if not d:
            break
        out += d
except Exception as e:
    out += ('EXCEPTION ' + repr(e)).encode()
sys.stdout.buffer.write(out)
)";
} // namespace

quint16 freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress(QHostAddress::LocalHost), 0);
    return probe.serverPort();
}

bool portIsFree(quint16 port)
{
    QTcpServer probe;
    return probe.listen(QHostAddress(QHostAddress::LocalHost), port);
}

QString whyNoOtherUser()
{
    if (::getuid() != 0)
        return QStringLiteral("needs root to start a program as another user");
    if (!QFileInfo(kSetpriv).isExecutable())
        return QStringLiteral("needs setpriv (util-linux) to start a program as another user");
    return {};
}

QByteArray talkAs(bool asOtherUser, quint16 port, const QByteArray& line)
{
    QStringList arguments;
    QString program = testfiles::systemPython();
    if (asOtherUser) {
        const QString id = QString::number(kOtherUid);
        arguments << QStringLiteral("--reuid=") + id << QStringLiteral("--regid=") + id
                  << QStringLiteral("--clear-groups") << program;
        program = kSetpriv;
    }
    arguments << QStringLiteral("-c") << QString::fromUtf8(kClientScript) << QString::number(port)
              << QString::fromUtf8(line);
    QProcess client;
    client.start(program, arguments);
    if (!client.waitForFinished(kClientTimeoutMs)) {
        client.kill();
        client.waitForFinished();
    }
    return client.readAllStandardOutput() + client.readAllStandardError();
}
} // namespace loopback
