// A small stand-in for a start of the program, for the tests that need two
// real processes: started with a port and a path it either becomes the
// command server (printing "listening", then "queued <path>" for every path
// handed to it) or, when the port is taken, hands its path over and ends, as
// a start of the program does.
#include "app/core/CommandServer.h"
#include "app/core/FileHandOff.h"
#include "app/core/IntakeQueue.h"

#include <QCoreApplication>
#include <QTextStream>
#include <QTimer>

namespace {
constexpr int kPollIntervalMs = 50;

enum ExitCode {
    kHandedOver = 0,
    kHandOffFailed = 1,
    kActivationFailed = 2,
    kPortOfAnotherUser = 3,
    kUsage = 4
};

void Print(const QString& line)
{
    QTextStream out(stdout);
    out << line << Qt::endl;
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 3)
        return kUsage;
    const auto port = static_cast<quint16>(arguments.at(1).toUInt());
    const QString path = arguments.at(2);

    IntakeQueue queue;
    CommandServer server(queue, port);
    const auto activation = server.Activate();
    if (activation.outcome == CommandServer::Activation::Failed)
        return kActivationFailed;
    if (activation.outcome == CommandServer::Activation::AddressInUse) {
        if (FileHandOff::OwnerOfServer(port) == FileHandOff::ServerOwner::OtherUser)
            return kPortOfAnotherUser;
        return FileHandOff::HandOver(path, port).ok() ? kHandedOver : kHandOffFailed;
    }

    Print(QStringLiteral("listening"));
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &poll, [&queue] {
        for (QString queued = queue.DequeueFile(); !queued.isEmpty(); queued = queue.DequeueFile())
            Print(QStringLiteral("queued ") + queued);
    });
    poll.start(kPollIntervalMs);
    return QCoreApplication::exec();
}
