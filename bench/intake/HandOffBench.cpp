// How long a later start spends handing its document over, and what the
// owner check costs the server per connection on a machine with many open
// sockets. Usage: bench_intake [benchmark options]
#include "app/core/CommandServer.h"
#include "app/core/FileHandOff.h"
#include "app/core/IntakeQueue.h"
#include "app/core/SocketOwnership.h"

#include <QCoreApplication>
#include <QHostAddress>
#include <QTcpServer>

#include <benchmark/benchmark.h>

namespace {
constexpr int kBusyMachineSockets = 5000;

quint16 FreePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress(QHostAddress::LocalHost), 0);
    return probe.serverPort();
}

// A whole hand-off: connect, send the path, read the reply, disconnect.
void BM_HandOver(benchmark::State& state)
{
    IntakeQueue queue;
    const quint16 port = FreePort();
    CommandServer server(queue, port);
    if (server.Activate().outcome != CommandServer::Activation::Listening) {
        state.SkipWithError("the command server did not start");
        return;
    }
    const QString path = QStringLiteral("/tmp/quillon-spool/printed page.tif");
    for (auto _ : state) {
        if (!FileHandOff::HandOver(path, port).ok())
            state.SkipWithError("hand-off failed");
        queue.DequeueFile();
    }
}
BENCHMARK(BM_HandOver)->Unit(benchmark::kMicrosecond);

// The server's owner check on this machine: both tables read and searched.
void BM_OwnerLookUpOnThisMachine(benchmark::State& state)
{
    const QHostAddress loopback(QHostAddress::LocalHost);
    for (auto _ : state) {
        const auto entries = SocketOwnership::ReadSystemTables();
        benchmark::DoNotOptimize(
            SocketOwnership::ConnectionOwner(entries, loopback, 40000, loopback, 9536));
    }
}
BENCHMARK(BM_OwnerLookUpOnThisMachine)->Unit(benchmark::kMicrosecond);

// Parsing the table of a busy machine.
void BM_ParseBusyTable(benchmark::State& state)
{
    QString table = QStringLiteral(
        "  sl  local_address rem_address   st tx_queue rx_queue tr tm->when retrnsmt   uid  "
        "timeout inode\n");
    for (int i = 0; i < kBusyMachineSockets; ++i) {
        table += QStringLiteral("%1: 0100007F:%2 0100007F:2540 01 00000000:00000000 00:00000000 "
                                "00000000  1000        0 %3 1 0000000000000000 20 4 30 10 -1\n")
                     .arg(i, 4)
                     .arg(1024 + i, 4, 16, QLatin1Char('0'))
                     .arg(100000 + i);
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(SocketOwnership::ParseTable(table));
    state.SetItemsProcessed(state.iterations() * kBusyMachineSockets);
}
BENCHMARK(BM_ParseBusyTable)->Unit(benchmark::kMillisecond);
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
