// Timed runs of the document model's heavy paths: reading whole documents
// into the page list, and writing the fax image. Run without arguments; each
// reading case runs in a process of its own so that its peak memory is its
// own. Prints one line per case and the ratios against Debian's tiffcp and
// ImageMagick's convert where those exist.
#include "editor/core/FaxImage.h"
#include "editor/core/PageList.h"
#include "editor/core/TiffDocumentReader.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstdio>
#include <sys/resource.h>
#include <tiffio.h>
#include <vector>

namespace {

// A4 at 300 dpi.
constexpr int kPageWidth = 2480;
constexpr int kPageHeight = 3508;
constexpr int kDpi = 300;
constexpr int kFaxPages = 50;
constexpr int kMagickColourPages = 10;
const char* const kReadMode = "--read";

enum class Kind { Bilevel, Colour };

// A page that looks like printed text: lines of word-like bars, a frame and a
// picture block (in colour for colour pages).
QImage makePage(Kind kind)
{
    QImage image(kPageWidth, kPageHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (int y = 200; y < kPageHeight - 200; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        const bool textRow = (y / 25) % 2 == 0 && y % 25 > 4;
        for (int x = 200; x < kPageWidth - 200; ++x) {
            const bool picture = y > 2400 && y < 3000 && x > 400 && x < 1800;
            if (picture)
                line[x] = kind == Kind::Colour ? qRgb(x % 256, (y * 3) % 256, 140) : qRgb(0, 0, 0);
            else if (textRow && (x * 13 + y / 25 * 7) % 97 < 70 && (x / 9) % 7 != 0)
                line[x] = qRgb(0, 0, 0);
        }
    }
    if (kind == Kind::Bilevel)
        return image.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither);
    return image;
}

bool writeDocument(const QString& path, Kind kind, int pages)
{
    const QImage page = makePage(kind);
    TIFF* tiff = TIFFOpen(QFile::encodeName(path).constData(), "w");
    if (tiff == nullptr)
        return false;
    std::vector<uchar> row(static_cast<size_t>(kPageWidth) * 3);
    bool ok = true;
    for (int p = 0; p < pages && ok; ++p) {
        TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, kPageWidth);
        TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, kPageHeight);
        TIFFSetField(tiff, TIFFTAG_XRESOLUTION, static_cast<float>(kDpi));
        TIFFSetField(tiff, TIFFTAG_YRESOLUTION, static_cast<float>(kDpi));
        TIFFSetField(tiff, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
        TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
        if (kind == Kind::Bilevel) {
            TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 1);
            TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 1);
            TIFFSetField(tiff, TIFFTAG_COMPRESSION, COMPRESSION_CCITTFAX4);
            // Qt's 1-bit index 0 is black after the threshold conversion.
            TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC,
                         page.color(0) == qRgb(0, 0, 0) ? PHOTOMETRIC_MINISBLACK
                                                        : PHOTOMETRIC_MINISWHITE);
            TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, kPageHeight);
        } else {
            TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8);
            TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 3);
            TIFFSetField(tiff, TIFFTAG_COMPRESSION, COMPRESSION_NONE);
            TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
            TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(tiff, 0));
        }
        for (int y = 0; y < kPageHeight && ok; ++y) {
            const uchar* data = page.constScanLine(y);
            if (kind == Kind::Colour) {
                const auto* pixels = reinterpret_cast<const QRgb*>(data);
                for (int x = 0; x < kPageWidth; ++x) {
                    row[static_cast<size_t>(x) * 3] = static_cast<uchar>(qRed(pixels[x]));
                    row[static_cast<size_t>(x) * 3 + 1] = static_cast<uchar>(qGreen(pixels[x]));
                    row[static_cast<size_t>(x) * 3 + 2] = static_cast<uchar>(qBlue(pixels[x]));
                }
                data = row.data();
            }
            ok =
                TIFFWriteScanline(tiff, const_cast<uchar*>(data), static_cast<uint32_t>(y), 0) == 1;
        }
        ok = ok && TIFFWriteDirectory(tiff) == 1;
    }
    TIFFClose(tiff);
    return ok;
}

double peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0; // kilobytes on Linux
}

// Child mode: read one document into a page list and report.
int readMode(const QString& path)
{
    QElapsedTimer timer;
    timer.start();
    PageList list;
    Result<std::vector<Page>> pages = TiffDocumentReader().read(path);
    if (!pages.ok()) {
        std::fprintf(stderr, "%s\n", qPrintable(pages.status().text()));
        return 1;
    }
    list.reset(std::move(pages).value());
    const double seconds = timer.nsecsElapsed() / 1e9;
    std::printf("%d %.3f %.1f\n", list.count(), seconds, peakMegabytes());
    return 0;
}

struct ReadFigures
{
    int pages = 0;
    double seconds = 0;
    double peakMb = 0;
};

ReadFigures readInChild(const QString& path)
{
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(kReadMode), path});
    child.waitForFinished(-1);
    ReadFigures figures;
    const QList<QByteArray> parts = child.readAllStandardOutput().trimmed().split(' ');
    if (parts.size() == 3) {
        figures.pages = parts[0].toInt();
        figures.seconds = parts[1].toDouble();
        figures.peakMb = parts[2].toDouble();
    }
    return figures;
}

double timeCommand(const QString& program, const QStringList& arguments, bool* ok)
{
    QElapsedTimer timer;
    timer.start();
    QProcess process;
    process.start(program, arguments);
    *ok = process.waitForFinished(-1) && process.exitStatus() == QProcess::NormalExit &&
          process.exitCode() == 0;
    if (!*ok)
        std::fprintf(stderr, "%s failed: %s\n", qPrintable(program),
                     process.readAllStandardError().left(300).constData());
    return timer.nsecsElapsed() / 1e9;
}

void readingCases(const QTemporaryDir& dir)
{
    std::printf("(a) reading documents into the page list, A4 300 dpi, each in its own "
                "process\n");
    std::printf("%-28s %6s %9s %10s %9s\n", "document", "pages", "seconds", "peak MB", "file MB");
    for (const Kind kind : {Kind::Bilevel, Kind::Colour}) {
        for (const int count : {10, 100}) {
            const QString name =
                QStringLiteral("%1-%2.tif").arg(kind == Kind::Bilevel ? "g4" : "rgb").arg(count);
            const QString path = dir.filePath(name);
            if (!writeDocument(path, kind, count)) {
                std::printf("%-28s could not be made\n", qPrintable(name));
                continue;
            }
            const ReadFigures f = readInChild(path);
            std::printf("%-28s %6d %9.3f %10.1f %9.1f\n",
                        kind == Kind::Bilevel ? "1-bit G4" : "24-bit colour, uncompressed", f.pages,
                        f.seconds, f.peakMb, QFileInfo(path).size() / 1048576.0);
            QFile::remove(path);
        }
    }
}

void faxCase(const QTemporaryDir& dir, Kind kind, int pageCount, bool compare)
{
    const QString input = dir.filePath(kind == Kind::Bilevel ? "fax-in-g4.tif" : "fax-in-rgb.tif");
    if (!writeDocument(input, kind, pageCount)) {
        std::printf("input could not be made\n");
        return;
    }
    QElapsedTimer timer;
    timer.start();
    Result<std::vector<Page>> pages = TiffDocumentReader().read(input);
    const double readSeconds = timer.nsecsElapsed() / 1e9;
    if (!pages.ok()) {
        std::printf("%s\n", qPrintable(pages.status().text()));
        return;
    }
    timer.restart();
    const Status written = WriteFaxImage(pages.value(), dir.filePath(QStringLiteral("ours.tif")));
    const double writeSeconds = timer.nsecsElapsed() / 1e9;
    if (!written.ok()) {
        std::printf("%s\n", qPrintable(written.text()));
        return;
    }
    pages = Status::failure(QString()); // free the pages before the other tools run
    const double ours = readSeconds + writeSeconds;
    std::printf("%3d pages %-8s read %.3f s + write %.3f s = %.3f s (%.1f ms a page written)\n",
                pageCount, kind == Kind::Bilevel ? "1-bit:" : "colour:", readSeconds, writeSeconds,
                ours, writeSeconds * 1000 / pageCount);
    if (!compare) {
        QFile::remove(input);
        return;
    }

    bool ok = false;
    if (kind == Kind::Bilevel) {
        const double tiffcp = timeCommand(QStringLiteral("tiffcp"),
                                          {QStringLiteral("-c"), QStringLiteral("g4"), input,
                                           dir.filePath(QStringLiteral("tiffcp.tif"))},
                                          &ok);
        if (ok)
            std::printf("             tiffcp -c g4: %.3f s; tiffcp / ours = %.2f (file to "
                        "file), %.2f (write only)\n",
                        tiffcp, tiffcp / ours, tiffcp / writeSeconds);
    } else {
        const QString convert = QStringLiteral("/usr/bin/convert");
        if (!QFileInfo(convert).isExecutable()) {
            std::printf("             ImageMagick's convert is not installed: no comparison\n");
        } else {
            const double magick =
                timeCommand(convert,
                            {input, QStringLiteral("-monochrome"), QStringLiteral("-compress"),
                             QStringLiteral("Group4"), dir.filePath(QStringLiteral("magick.tif"))},
                            &ok);
            if (ok)
                std::printf("             convert -monochrome -compress Group4: %.3f s; "
                            "convert / ours = %.2f (file to file), %.2f (write only)\n",
                            magick, magick / ours, magick / writeSeconds);
        }
    }
    QFile::remove(input);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], kReadMode) == 0)
        return readMode(QString::fromLocal8Bit(argv[2]));

    // "--reading" or "--fax" runs one half only, "--fax-bilevel" the 1-bit
    // fax image only.
    const QString only = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    QTemporaryDir dir;
    if (!dir.isValid())
        return 1;
    if (!only.startsWith(QLatin1String("--fax")))
        readingCases(dir);
    if (only != QLatin1String("--reading")) {
        std::printf("\n(b) fax image, A4 300 dpi\n");
        faxCase(dir, Kind::Bilevel, kFaxPages, true);
        if (only == QLatin1String("--fax-bilevel"))
            return 0;
        faxCase(dir, Kind::Colour, kFaxPages, false);
        // Debian's ImageMagick policy caps its pixel cache at 1 GiB, which 50
        // colour pages at 300 dpi exceed; it is compared on fewer pages.
        faxCase(dir, Kind::Colour, kMagickColourPages, true);
    }
    return 0;
}
