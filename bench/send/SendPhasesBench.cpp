// Where the time of a command-line send goes, phase by phase, for the same
// 50-page document the timed run uses: reading it, writing the fax image,
// composing the request (the X-Password digest reads the image) and writing
// the MIME message. The SMTP transfer itself is timed by bench_send.py.
#include "editor/core/DocumentReaders.h"
#include "editor/core/FaxImage.h"
#include "send/core/FaxRequest.h"
#include "send/core/MimeComposer.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int kPages = 50;

QTemporaryDir& folder()
{
    static QTemporaryDir dir;
    return dir;
}

QString documentPath()
{
    static const QString path = [] {
        const QString script = folder().filePath("doc.ps");
        QFile file(script);
        file.open(QIODevice::WriteOnly);
        file.write("/Helvetica findfont 14 scalefont setfont\n"
                   "1 1 " +
                   QByteArray::number(kPages) +
                   " { /n exch def\n"
                   "  60 780 -16 60 { /y exch def 60 y moveto\n"
                   "    (Page ) show n 3 string cvs show\n"
                   "    (  The quick brown fox jumps over the lazy dog 0123456789) show } for\n"
                   "  showpage } for\n");
        file.close();
        const QString document = folder().filePath("doc.tif");
        QProcess::execute("gs", {"-q", "-dBATCH", "-dNOPAUSE", "-sDEVICE=tiffg4", "-r200",
                                 "-sPAPERSIZE=a4", "-o", document, script});
        return document;
    }();
    return path;
}

std::vector<Page> readPages()
{
    return DocumentReaders::read(documentPath()).value();
}

QString faxImagePath()
{
    static const QString path = [] {
        std::vector<Page> pages = readPages();
        const QString image = folder().filePath("file_20150305090700123.tif");
        ApplyFaxImageParameters(pages, {});
        WriteFaxImage(pages, image);
        return image;
    }();
    return path;
}

void BM_ReadDocument(benchmark::State& state)
{
    documentPath();
    for (auto _ : state)
        benchmark::DoNotOptimize(readPages());
}

void BM_WriteFaxImage(benchmark::State& state)
{
    std::vector<Page> pages = readPages();
    const QString target = folder().filePath("written.tif");
    for (auto _ : state) {
        ApplyFaxImageParameters(pages, {});
        benchmark::DoNotOptimize(WriteFaxImage(pages, target).ok());
    }
}

void BM_ComposeRequest(benchmark::State& state)
{
    FaxRequest::Source source;
    source.numberText = "123456";
    source.faxImagePath = faxImagePath();
    source.cardPasswordHash = "81dc9bdb52d04dc20036dbd8313ed055";
    for (auto _ : state)
        benchmark::DoNotOptimize(FaxRequest::compose(source));
}

void BM_RenderMessage(benchmark::State& state)
{
    FaxRequest request;
    request.recipients = {"fax@gateway.example.net"};
    request.faxImagePath = faxImagePath();
    for (auto _ : state)
        benchmark::DoNotOptimize(
            MimeComposer::headerRendering(request, QDateTime::currentDateTime()).ok());
}

BENCHMARK(BM_ReadDocument)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteFaxImage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ComposeRequest)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenderMessage)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
