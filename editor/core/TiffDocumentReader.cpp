#include "editor/core/TiffDocumentReader.h"

#include "editor/core/BilevelPacker.h"
#include "editor/core/ParallelWork.h"
#include "editor/core/TiffHandle.h"
#include "editor/core/TiffMessageCapture.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <climits>
#include <cmath>
#include <memory>
#include <new>
#include <vector>

namespace {

constexpr double kCentimetresPerInch = 2.54;
constexpr int kBitsPerByte = 8;
constexpr int kMaxByte = 255;
constexpr int kBytesPerArgbPixel = 4;
// A single allocation libtiff may make for one file: a whole page as 32-bit
// pixels at the largest size we accept.
constexpr tmsize_t kMaxTiffAllocation = DocumentReader::kMaxPagePixels * kBytesPerArgbPixel;

QString tr(const char* text)
{
    return QCoreApplication::translate("TiffDocumentReader", text);
}

QString failureText(const QString& path, const QString& reason)
{
    return tr("Cannot read \"%1\": %2").arg(QDir::toNativeSeparators(path), reason);
}

// What libtiff said, appended to our own reason.
QString withLibraryDetail(const QString& reason, const TiffMessageCapture& capture)
{
    if (!capture.hasErrors())
        return reason;
    return reason + QStringLiteral(" (") + capture.errorText() + QLatin1Char(')');
}

// The fields of one directory that decide how it is read.
struct Directory
{
    uint32_t width = 0;
    uint32_t height = 0;
    uint16_t bitsPerSample = 1;
    uint16_t samplesPerPixel = 1;
    uint16_t photometric = PHOTOMETRIC_MINISWHITE;
    uint16_t compression = COMPRESSION_NONE;
    uint16_t planar = PLANARCONFIG_CONTIG;
    uint16_t fillOrder = FILLORDER_MSB2LSB;
    uint32_t t6Options = 0;
    bool tiled = false;
    bool hasPhotometric = false;
};

Directory readDirectoryFields(TIFF* tiff)
{
    Directory d;
    TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &d.width);
    TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &d.height);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_BITSPERSAMPLE, &d.bitsPerSample);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLESPERPIXEL, &d.samplesPerPixel);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_COMPRESSION, &d.compression);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_PLANARCONFIG, &d.planar);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_FILLORDER, &d.fillOrder);
    if (d.compression == COMPRESSION_CCITTFAX4)
        TIFFGetField(tiff, TIFFTAG_T6OPTIONS, &d.t6Options);
    d.hasPhotometric = TIFFGetField(tiff, TIFFTAG_PHOTOMETRIC, &d.photometric) == 1;
    if (!d.hasPhotometric) {
        // Old fax software leaves it out: bilevel pages then mean white is
        // zero, as fax pages are stored; grey pages usually mean black is zero.
        if (d.samplesPerPixel >= 3)
            d.photometric = PHOTOMETRIC_RGB;
        else if (d.bitsPerSample == 1)
            d.photometric = PHOTOMETRIC_MINISWHITE;
        else
            d.photometric = PHOTOMETRIC_MINISBLACK;
    }
    d.tiled = TIFFIsTiled(tiff) != 0;
    return d;
}

int toDpi(float value, uint16_t unit)
{
    if (!(value > 0.0f) || !std::isfinite(value))
        return PageParameters::kDefaultDpi;
    const double perInch = unit == RESUNIT_CENTIMETER ? value * kCentimetresPerInch : value;
    const long rounded = std::lround(perInch);
    return rounded >= 1 && rounded <= 1'000'000 ? static_cast<int>(rounded)
                                                : PageParameters::kDefaultDpi;
}

PageParameters readParameters(TIFF* tiff, const Directory& d)
{
    PageParameters parameters;
    uint16_t unit = RESUNIT_INCH;
    TIFFGetFieldDefaulted(tiff, TIFFTAG_RESOLUTIONUNIT, &unit);
    float x = 0.0f;
    float y = 0.0f;
    const bool hasX = TIFFGetField(tiff, TIFFTAG_XRESOLUTION, &x) == 1;
    const bool hasY = TIFFGetField(tiff, TIFFTAG_YRESOLUTION, &y) == 1;
    parameters.dpiX = toDpi(hasX ? x : y, unit);
    parameters.dpiY = toDpi(hasY ? y : x, unit);
    parameters.compression = d.compression;
    parameters.bitsPerSample = d.bitsPerSample;
    parameters.samplesPerPixel = d.samplesPerPixel;
    parameters.photometric = d.photometric;
    return parameters;
}

bool isStrippedContiguous(const Directory& d)
{
    return !d.tiled && (d.planar == PLANARCONFIG_CONTIG || d.samplesPerPixel == 1);
}

bool isBilevel(const Directory& d)
{
    return isStrippedContiguous(d) && d.bitsPerSample == 1 && d.samplesPerPixel == 1 &&
           (d.photometric == PHOTOMETRIC_MINISWHITE || d.photometric == PHOTOMETRIC_MINISBLACK);
}

bool isGrey8(const Directory& d)
{
    return isStrippedContiguous(d) && d.bitsPerSample == 8 && d.samplesPerPixel == 1 &&
           (d.photometric == PHOTOMETRIC_MINISWHITE || d.photometric == PHOTOMETRIC_MINISBLACK);
}

bool isPalette(const Directory& d)
{
    return isStrippedContiguous(d) && d.samplesPerPixel == 1 &&
           d.photometric == PHOTOMETRIC_PALETTE &&
           (d.bitsPerSample == 1 || d.bitsPerSample == 2 || d.bitsPerSample == 4 ||
            d.bitsPerSample == 8);
}

bool isRgb8(const Directory& d)
{
    return isStrippedContiguous(d) && d.bitsPerSample == 8 && d.samplesPerPixel == 3 &&
           d.photometric == PHOTOMETRIC_RGB;
}

bool isJpegYCbCr(const Directory& d)
{
    return isStrippedContiguous(d) && d.bitsPerSample == 8 && d.samplesPerPixel == 3 &&
           d.photometric == PHOTOMETRIC_YCBCR && d.compression == COMPRESSION_JPEG;
}

QImage allocate(const Directory& d, QImage::Format format)
{
    return QImage(static_cast<int>(d.width), static_cast<int>(d.height), format);
}

bool readRowsInto(TIFF* tiff, QImage& image)
{
    for (int row = 0; row < image.height(); ++row) {
        if (TIFFReadScanline(tiff, image.scanLine(row), static_cast<uint32_t>(row)) < 0)
            return false;
    }
    return true;
}

void invertRows(QImage& image, int bytesPerRow)
{
    for (int row = 0; row < image.height(); ++row) {
        uchar* line = image.scanLine(row);
        for (int i = 0; i < bytesPerRow; ++i)
            line[i] = static_cast<uchar>(~line[i]);
    }
}

// Bilevel pixels go straight into a 1-bit image. libtiff has already put the
// bits in most-significant-first order whatever the FillOrder; our 1-bit
// pages always mean 1 = black, so min-is-black pages are inverted once here.
QImage readBilevel(TIFF* tiff, const Directory& d)
{
    QImage image = allocate(d, QImage::Format_Mono);
    if (image.isNull())
        return image;
    image.setColorTable({qRgb(kMaxByte, kMaxByte, kMaxByte), qRgb(0, 0, 0)});
    if (!readRowsInto(tiff, image))
        return {};
    if (d.photometric == PHOTOMETRIC_MINISBLACK)
        invertRows(image, static_cast<int>((d.width + kBitsPerByte - 1) / kBitsPerByte));
    return image;
}

QImage readGrey(TIFF* tiff, const Directory& d)
{
    QImage image = allocate(d, QImage::Format_Grayscale8);
    if (image.isNull() || !readRowsInto(tiff, image))
        return {};
    if (d.photometric == PHOTOMETRIC_MINISWHITE)
        invertRows(image, static_cast<int>(d.width));
    return image;
}

QVector<QRgb> readColorMap(TIFF* tiff, const Directory& d)
{
    uint16_t* red = nullptr;
    uint16_t* green = nullptr;
    uint16_t* blue = nullptr;
    if (TIFFGetField(tiff, TIFFTAG_COLORMAP, &red, &green, &blue) != 1)
        return {};
    const int entries = 1 << d.bitsPerSample;
    // The standard says 16 bits per value, but some writers store 8; if no
    // value uses the high byte, take them as 8-bit values.
    bool eightBit = true;
    for (int i = 0; i < entries && eightBit; ++i)
        eightBit = red[i] <= kMaxByte && green[i] <= kMaxByte && blue[i] <= kMaxByte;
    const int shift = eightBit ? 0 : kBitsPerByte;
    QVector<QRgb> table;
    table.reserve(entries);
    for (int i = 0; i < entries; ++i)
        table.append(qRgb(red[i] >> shift, green[i] >> shift, blue[i] >> shift));
    return table;
}

QImage readPalette(TIFF* tiff, const Directory& d)
{
    const QVector<QRgb> table = readColorMap(tiff, d);
    if (table.isEmpty())
        return {};
    QImage image = allocate(d, QImage::Format_Indexed8);
    if (image.isNull())
        return image;
    image.setColorTable(table);
    if (d.bitsPerSample == kBitsPerByte)
        return readRowsInto(tiff, image) ? image : QImage();

    std::vector<uchar> packed(static_cast<size_t>(TIFFScanlineSize(tiff)));
    const int bits = d.bitsPerSample;
    const int perByte = kBitsPerByte / bits;
    const int mask = (1 << bits) - 1;
    const int width = image.width();
    for (int row = 0; row < image.height(); ++row) {
        if (TIFFReadScanline(tiff, packed.data(), static_cast<uint32_t>(row)) < 0)
            return {};
        uchar* line = image.scanLine(row);
        for (int x = 0; x < width; ++x) {
            const int shift = kBitsPerByte - bits * (x % perByte + 1);
            line[x] =
                static_cast<uchar>((packed[static_cast<size_t>(x / perByte)] >> shift) & mask);
        }
    }
    return image;
}

QImage readRgb(TIFF* tiff, const Directory& d)
{
    QImage image = allocate(d, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    const int width = image.width();
    std::vector<uchar> samples(static_cast<size_t>(TIFFScanlineSize(tiff)));
    if (samples.size() < static_cast<size_t>(d.width) * 3)
        return {};
    for (int row = 0; row < image.height(); ++row) {
        if (TIFFReadScanline(tiff, samples.data(), static_cast<uint32_t>(row)) < 0)
            return {};
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(row));
        const uchar* s = samples.data();
        for (int x = 0; x < width; ++x, s += 3)
            line[x] = qRgb(s[0], s[1], s[2]);
    }
    return image;
}

// Everything else (tiles, separate planes, 16-bit samples, CMYK, YCbCr, alpha)
// goes through libtiff's own conversion to 8-bit RGBA.
QImage readThroughRgba(TIFF* tiff, const Directory& d)
{
    QImage image = allocate(d, QImage::Format_ARGB32);
    if (image.isNull())
        return image;
    auto* pixels = reinterpret_cast<uint32_t*>(image.bits());
    if (TIFFReadRGBAImageOriented(tiff, d.width, d.height, pixels, ORIENTATION_TOPLEFT, 1) != 1)
        return {};
    const qsizetype count = static_cast<qsizetype>(d.width) * d.height;
    for (qsizetype i = 0; i < count; ++i) {
        const uint32_t p = pixels[i];
        pixels[i] = qRgba(static_cast<int>(TIFFGetR(p)), static_cast<int>(TIFFGetG(p)),
                          static_cast<int>(TIFFGetB(p)), static_cast<int>(TIFFGetA(p)));
    }
    const bool hasAlpha = d.samplesPerPixel == 2 || d.samplesPerPixel >= 4;
    if (!hasAlpha)
        image.reinterpretAsFormat(QImage::Format_RGB32);
    if (d.samplesPerPixel == 1 && d.photometric != PHOTOMETRIC_PALETTE)
        return image.convertToFormat(d.bitsPerSample == 1 ? QImage::Format_Mono
                                                          : QImage::Format_Grayscale8);
    return image;
}

bool hasDirectPath(const Directory& d)
{
    return isBilevel(d) || isGrey8(d) || isPalette(d) || isRgb8(d) || isJpegYCbCr(d);
}

QImage decodePixels(TIFF* tiff, const Directory& d)
{
    if (isBilevel(d))
        return readBilevel(tiff, d);
    if (isGrey8(d))
        return readGrey(tiff, d);
    if (isPalette(d))
        return readPalette(tiff, d);
    if (isRgb8(d) || isJpegYCbCr(d))
        return readRgb(tiff, d);
    return readThroughRgba(tiff, d);
}

// A page stored the way the fax image stores its pages can keep its strips:
// Group 4 without options, 0 = white, bits in the usual order, in strips.
bool canKeepStrips(const Directory& d)
{
    return isBilevel(d) && d.compression == COMPRESSION_CCITTFAX4 &&
           d.photometric == PHOTOMETRIC_MINISWHITE && d.fillOrder == FILLORDER_MSB2LSB &&
           d.t6Options == 0;
}

// The page's strips as stored, or nothing when their layout is anything but
// plain (then the page is decoded the usual way, which reports what is
// wrong). A strip longer than the whole file is damage, not a reason to
// allocate.
std::shared_ptr<const EncodedStrips> readStrips(TIFF* tiff, const Directory& d, qint64 fileSize)
{
    uint32_t rowsPerStrip = d.height;
    TIFFGetFieldDefaulted(tiff, TIFFTAG_ROWSPERSTRIP, &rowsPerStrip);
    rowsPerStrip = std::clamp<uint32_t>(rowsPerStrip, 1, d.height);
    const uint32_t count = TIFFNumberOfStrips(tiff);
    if (count == 0 || count != (d.height + rowsPerStrip - 1) / rowsPerStrip)
        return nullptr;
    std::vector<QByteArray> strips;
    strips.reserve(count);
    for (uint32_t s = 0; s < count; ++s) {
        const tmsize_t size = TIFFRawStripSize(tiff, s);
        if (size <= 0 || size > fileSize)
            return nullptr;
        QByteArray data(static_cast<qsizetype>(size), Qt::Uninitialized);
        if (TIFFReadRawStrip(tiff, s, data.data(), size) != size)
            return nullptr;
        strips.push_back(std::move(data));
    }
    return std::make_shared<const EncodedStrips>(static_cast<int>(d.width),
                                                 static_cast<int>(d.height),
                                                 static_cast<int>(rowsPerStrip), std::move(strips));
}

QString describeSize(const Directory& d)
{
    return tr("%1 by %2 pixels").arg(d.width).arg(d.height);
}

Result<Page> readPage(TIFF* tiff, int pageNumber, const QString& path, qint64 fileSize,
                      const TiffMessageCapture& capture)
{
    const Directory d = readDirectoryFields(tiff);
    if (d.width == 0 || d.height == 0) {
        return Status::failure(failureText(
            path, withLibraryDetail(tr("page %1 has no size; the file is damaged.").arg(pageNumber),
                                    capture)));
    }
    const qint64 pixels = static_cast<qint64>(d.width) * d.height;
    if (pixels > DocumentReader::kMaxPagePixels || d.width > INT_MAX / kBytesPerArgbPixel ||
        d.height > static_cast<uint32_t>(INT_MAX)) {
        return Status::failure(failureText(
            path, tr("page %1 claims %2, more than any document page can have; the file is "
                     "damaged or not a document.")
                      .arg(pageNumber)
                      .arg(describeSize(d))));
    }
    // Should the strips not read cleanly, the usual decoding below says why.
    if (canKeepStrips(d)) {
        auto strips = readStrips(tiff, d, fileSize);
        if (strips && !capture.hasErrors())
            return Page(std::move(strips), readParameters(tiff, d));
    }
    if (isJpegYCbCr(d))
        TIFFSetField(tiff, TIFFTAG_JPEGCOLORMODE, JPEGCOLORMODE_RGB);

    if (!hasDirectPath(d)) {
        char message[1024] = {};
        if (TIFFRGBAImageOK(tiff, message) != 1) {
            return Status::failure(
                failureText(path, tr("page %1 is stored in a way this program cannot decode (%2).")
                                      .arg(pageNumber)
                                      .arg(QString::fromLocal8Bit(message))));
        }
    }
    const QImage image = decodePixels(tiff, d);
    if (image.isNull() || capture.hasErrors()) {
        // When libtiff reported nothing, the image could not be allocated.
        const QString reason =
            capture.hasErrors()
                ? tr("page %1 is damaged or incomplete.").arg(pageNumber)
                : tr("page %1 (%2) could not be read; there may not be enough memory.")
                      .arg(pageNumber)
                      .arg(describeSize(d));
        return Status::failure(failureText(path, withLibraryDetail(reason, capture)));
    }
    return Page(std::move(image), readParameters(tiff, d));
}

// Decodes the pages kept as strips, all cores at once, and names the first
// one that is damaged: a document is only handed on when every page can be
// shown.
Status decodeKeptPages(const std::vector<Page>& pages, const QString& path)
{
    std::vector<Status> results(pages.size(), Status::success());
    ForEachOnAllCores(pages.size(), [&pages, &results](size_t i) {
        if (!pages[i].encodedStrips())
            return;
        try {
            results[i] = pages[i].decode();
        } catch (const std::bad_alloc&) {
            results[i] = Status::failure(QStringLiteral("not enough memory"));
        }
    });
    for (size_t i = 0; i < results.size(); ++i) {
        if (!results[i].ok()) {
            return Status::failure(
                failureText(path, tr("page %1 is damaged or incomplete.").arg(i + 1) +
                                      QStringLiteral(" (") + results[i].text() + QLatin1Char(')')));
        }
    }
    return Status::success();
}

} // namespace

TiffDocumentReader::TiffDocumentReader() : TiffDocumentReader(ReadOptions()) {}

TiffDocumentReader::TiffDocumentReader(ReadOptions options) : m_options(options) {}

Result<std::vector<Page>> TiffDocumentReader::read(const QString& path) const
{
    const QFileInfo info(path);
    if (!info.isFile())
        return Status::failure(failureText(path, tr("the file does not exist.")));
    if (info.size() == 0)
        return Status::failure(failureText(path, tr("the file is empty.")));

    TiffMessageCapture capture;
    TIFFOpenOptionsSetMaxSingleMemAlloc(capture.options(), kMaxTiffAllocation);
    // "m": read the file rather than map it, so that a file cut short while we
    // read it gives an error instead of a crash.
    const TiffHandle tiff(
        TIFFOpenExt(QFile::encodeName(path).constData(), "rm", capture.options()));
    if (!tiff) {
        return Status::failure(failureText(
            path, withLibraryDetail(tr("it is not a TIFF file, or it is damaged."), capture)));
    }

    std::vector<Page> pages;
    do {
        Result<Page> page =
            readPage(tiff.get(), static_cast<int>(pages.size()) + 1, path, info.size(), capture);
        if (!page.ok())
            return page.status();
        pages.push_back(std::move(page).value());
    } while (TIFFReadDirectory(tiff.get()) == 1);

    if (capture.hasErrors()) {
        return Status::failure(failureText(
            path, withLibraryDetail(tr("the file is damaged after page %1.").arg(pages.size()),
                                    capture)));
    }
    if (m_options.decodePixels) {
        const Status decoded = decodeKeptPages(pages, path);
        if (!decoded.ok())
            return decoded;
    }
    return pages;
}
