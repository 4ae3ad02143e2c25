// Measures how fast HashFile digests a large file with MD5, next to the
// system's md5sum and openssl on the very same file, so a slowdown of our
// digest shows as a falling ratio. Usage: bench_md5 [runs]
#include "crypto/core/CryptoUtils.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <limits>
#include <optional>

namespace {

constexpr qint64 kFileSize = qint64(256) * 1024 * 1024;
constexpr qint64 kWriteChunk = qint64(1) * 1024 * 1024;
constexpr int kDefaultRuns = 5;
constexpr double kBytesPerMegabyte = 1e6;
constexpr int kDigestLength = 32;

QString BenchFilePath()
{
    return QDir(QDir::tempPath()).filePath(QStringLiteral("quillon_bench_md5_256MiB.bin"));
}

// Pseudo-random content, so no part of the pipeline can take a shortcut on
// runs of equal bytes.
bool WriteBenchFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    QByteArray chunk(kWriteChunk, Qt::Uninitialized);
    quint64 x = 0x9E3779B97F4A7C15ULL;
    for (qint64 written = 0; written < kFileSize; written += chunk.size()) {
        for (qsizetype i = 0; i + 8 <= chunk.size(); i += 8) {
            x ^= x << 13;
            x ^= x >> 7;
            x ^= x << 17;
            std::memcpy(chunk.data() + i, &x, sizeof x);
        }
        if (file.write(chunk) != chunk.size())
            return false;
    }
    return true;
}

bool EnsureBenchFile(const QString& path)
{
    if (QFileInfo(path).size() == kFileSize)
        return true;
    std::printf("Writing %s ...\n", qPrintable(path));
    return WriteBenchFile(path);
}

struct Timing
{
    QString digest;
    double bestSeconds = std::numeric_limits<double>::infinity();
};

// Runs `digestOnce` `runs` times and keeps the fastest; an empty digest
// means the tool failed.
std::optional<Timing> BestOf(int runs, const std::function<QString()>& digestOnce)
{
    Timing timing;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer clock;
        clock.start();
        const QString digest = digestOnce();
        const double seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
        if (digest.isEmpty())
            return std::nullopt;
        timing.digest = digest;
        timing.bestSeconds = std::min(timing.bestSeconds, seconds);
    }
    return timing;
}

QString OurDigest(const QString& path)
{
    QString digest;
    return HashFile(HASH_MD5, path, digest) == HASH_OK ? digest : QString();
}

// The first 32 characters a tool prints, which for both tools below is the
// digest in lowercase hex.
QString ToolDigest(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return {};
    return QString::fromLatin1(process.readAllStandardOutput().left(kDigestLength));
}

double MegabytesPerSecond(const Timing& timing)
{
    return static_cast<double>(kFileSize) / kBytesPerMegabyte / timing.bestSeconds;
}

void Report(const char* name, const std::optional<Timing>& timing)
{
    if (!timing) {
        std::printf("%-22s failed\n", name);
        return;
    }
    std::printf("%-22s %8.1f MB/s  (best %.3f s)  %s\n", name, MegabytesPerSecond(*timing),
                timing->bestSeconds, qPrintable(timing->digest));
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, QByteArray(argv[1]).toInt()) : kDefaultRuns;
    const QString path = BenchFilePath();
    if (!EnsureBenchFile(path)) {
        std::fprintf(stderr, "Cannot write %s\n", qPrintable(path));
        return 1;
    }

    // One untimed pass brings the file into the page cache, so every tool
    // reads from memory and the figures compare the digests alone.
    OurDigest(path);

    const auto ours = BestOf(runs, [&] { return OurDigest(path); });
    const auto md5sum = BestOf(runs, [&] { return ToolDigest(QStringLiteral("md5sum"), {path}); });
    const auto openssl = BestOf(runs, [&] {
        return ToolDigest(
            QStringLiteral("openssl"),
            {QStringLiteral("dgst"), QStringLiteral("-md5"), QStringLiteral("-r"), path});
    });

    std::printf("MD5 of %lld MiB, best of %d runs, warm cache\n", kFileSize / (1024 * 1024), runs);
    Report("HashFile (ours)", ours);
    Report("md5sum", md5sum);
    Report("openssl dgst -md5", openssl);
    if (ours && md5sum) {
        std::printf("ratio ours/md5sum:     %.2f\n",
                    MegabytesPerSecond(*ours) / MegabytesPerSecond(*md5sum));
    }

    const bool agree = ours && (!md5sum || md5sum->digest == ours->digest) &&
                       (!openssl || openssl->digest == ours->digest);
    if (!agree) {
        std::fprintf(stderr, "Digests disagree or ours failed\n");
        return 1;
    }
    return 0;
}
