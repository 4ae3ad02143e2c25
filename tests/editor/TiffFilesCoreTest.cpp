#include "tests/editor/TiffFilesCoreTest.h"

#include <QFile>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace tifffiles {

namespace {

void setCommonTags(TIFF* tiff, const TiffPage& page, uint16_t index, uint16_t count)
{
    TIFFSetField(tiff, TIFFTAG_SUBFILETYPE, FILETYPE_PAGE);
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, static_cast<uint32_t>(page.image.width()));
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, static_cast<uint32_t>(page.image.height()));
    TIFFSetField(tiff, TIFFTAG_COMPRESSION, page.compression);
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tiff, TIFFTAG_XRESOLUTION, page.xResolution);
    TIFFSetField(tiff, TIFFTAG_YRESOLUTION, page.yResolution);
    TIFFSetField(tiff, TIFFTAG_RESOLUTIONUNIT, page.resolutionUnit);
    TIFFSetField(tiff, TIFFTAG_PAGENUMBER, index, count);
}

std::vector<uchar> rowOf(const TiffPage& page, int y)
{
    const QImage& image = page.image;
    std::vector<uchar> row;
    switch (image.format()) {
    case QImage::Format_Mono: {
        const int bytes = (image.width() + 7) / 8;
        row.assign(image.constScanLine(y), image.constScanLine(y) + bytes);
        if (page.minIsBlack) {
            for (uchar& b : row)
                b = static_cast<uchar>(~b);
        }
        break;
    }
    case QImage::Format_Grayscale8:
        row.assign(image.constScanLine(y), image.constScanLine(y) + image.width());
        if (page.minIsBlack == false) {
            for (uchar& b : row)
                b = static_cast<uchar>(255 - b);
        }
        break;
    case QImage::Format_Indexed8:
        row.assign(image.constScanLine(y), image.constScanLine(y) + image.width());
        break;
    default: {
        const bool alpha = image.format() == QImage::Format_ARGB32;
        const auto* pixels = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            row.push_back(static_cast<uchar>(qRed(pixels[x])));
            row.push_back(static_cast<uchar>(qGreen(pixels[x])));
            row.push_back(static_cast<uchar>(qBlue(pixels[x])));
            if (alpha)
                row.push_back(static_cast<uchar>(qAlpha(pixels[x])));
        }
        break;
    }
    }
    return row;
}

void setPixelTags(TIFF* tiff, const TiffPage& page)
{
    const QImage& image = page.image;
    switch (image.format()) {
    case QImage::Format_Mono:
        TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 1);
        TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 1);
        TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC,
                     page.minIsBlack ? PHOTOMETRIC_MINISBLACK : PHOTOMETRIC_MINISWHITE);
        TIFFSetField(tiff, TIFFTAG_FILLORDER, page.fillOrder);
        break;
    case QImage::Format_Grayscale8:
        TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8);
        TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 1);
        TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC,
                     page.minIsBlack ? PHOTOMETRIC_MINISBLACK : PHOTOMETRIC_MINISWHITE);
        break;
    case QImage::Format_Indexed8: {
        TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8);
        TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 1);
        TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_PALETTE);
        std::vector<uint16_t> r(256), g(256), b(256);
        const QVector<QRgb> table = image.colorTable();
        for (int i = 0; i < table.size() && i < 256; ++i) {
            r[static_cast<size_t>(i)] = static_cast<uint16_t>(qRed(table[i]) * 257);
            g[static_cast<size_t>(i)] = static_cast<uint16_t>(qGreen(table[i]) * 257);
            b[static_cast<size_t>(i)] = static_cast<uint16_t>(qBlue(table[i]) * 257);
        }
        TIFFSetField(tiff, TIFFTAG_COLORMAP, r.data(), g.data(), b.data());
        break;
    }
    default: {
        const bool alpha = image.format() == QImage::Format_ARGB32;
        TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8);
        TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, alpha ? 4 : 3);
        if (alpha) {
            const uint16_t extra[] = {EXTRASAMPLE_UNASSALPHA};
            TIFFSetField(tiff, TIFFTAG_EXTRASAMPLES, 1, extra);
        }
        if (page.compression == COMPRESSION_JPEG && page.jpegYCbCr) {
            TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_YCBCR);
            TIFFSetField(tiff, TIFFTAG_JPEGCOLORMODE, JPEGCOLORMODE_RGB);
        } else {
            TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
        }
        break;
    }
    }
    if (page.compression == COMPRESSION_JPEG)
        TIFFSetField(tiff, TIFFTAG_JPEGQUALITY, 95);
    if (page.tileSize > 0) {
        TIFFSetField(tiff, TIFFTAG_TILEWIDTH, static_cast<uint32_t>(page.tileSize));
        TIFFSetField(tiff, TIFFTAG_TILELENGTH, static_cast<uint32_t>(page.tileSize));
        return;
    }
    if (page.rowsPerStrip > 0)
        TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, page.rowsPerStrip);
    else
        TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP,
                     page.compression == COMPRESSION_JPEG ? 16u : TIFFDefaultStripSize(tiff, 0));
}

int bitsPerPixel(const QImage& image)
{
    switch (image.format()) {
    case QImage::Format_Mono:
        return 1;
    case QImage::Format_Grayscale8:
    case QImage::Format_Indexed8:
        return 8;
    case QImage::Format_ARGB32:
        return 32;
    default:
        return 24;
    }
}

bool writeTiles(TIFF* tiff, const TiffPage& page)
{
    const int size = page.tileSize;
    const int bits = bitsPerPixel(page.image);
    const size_t tileRowBytes = static_cast<size_t>(size * bits / 8);
    std::vector<uchar> tile(tileRowBytes * static_cast<size_t>(size));
    for (int ty = 0; ty < page.image.height(); ty += size) {
        for (int tx = 0; tx < page.image.width(); tx += size) {
            std::fill(tile.begin(), tile.end(), 0);
            for (int r = 0; r < size && ty + r < page.image.height(); ++r) {
                const std::vector<uchar> row = rowOf(page, ty + r);
                const size_t from = static_cast<size_t>(tx * bits / 8);
                const size_t count = std::min(tileRowBytes, row.size() - from);
                std::copy_n(row.begin() + static_cast<long>(from), count,
                            tile.begin() +
                                static_cast<long>(tileRowBytes * static_cast<size_t>(r)));
            }
            const uint32_t index =
                TIFFComputeTile(tiff, static_cast<uint32_t>(tx), static_cast<uint32_t>(ty), 0, 0);
            if (TIFFWriteEncodedTile(tiff, index, tile.data(), static_cast<tmsize_t>(tile.size())) <
                0)
                return false;
        }
    }
    return true;
}

} // namespace

bool writeTiff(const QString& path, const std::vector<TiffPage>& pages)
{
    TIFF* tiff = TIFFOpen(QFile::encodeName(path).constData(), "w");
    if (tiff == nullptr)
        return false;
    bool ok = true;
    for (size_t i = 0; i < pages.size() && ok; ++i) {
        const TiffPage& page = pages[i];
        setCommonTags(tiff, page, static_cast<uint16_t>(i), static_cast<uint16_t>(pages.size()));
        setPixelTags(tiff, page);
        if (page.tileSize > 0)
            ok = writeTiles(tiff, page);
        for (int y = 0; page.tileSize == 0 && y < page.image.height() && ok; ++y) {
            std::vector<uchar> row = rowOf(page, y);
            ok = TIFFWriteScanline(tiff, row.data(), static_cast<uint32_t>(y), 0) == 1;
        }
        ok = ok && TIFFWriteDirectory(tiff) == 1;
    }
    TIFFClose(tiff);
    return ok;
}

QImage bilevelPattern(int width, int height)
{
    QImage image(width, height, QImage::Format_Mono);
    image.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    image.fill(0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const bool frame = x == 0 || y == 0 || x == width - 1 || y == height - 1;
            const bool diagonal = (x + 3 * y) % 97 < 2;
            const bool bar = (y / 7) % 3 == 1 && (x / 5) % 4 != 0 && (x * 7 + y) % 23 < 15;
            if (frame || diagonal || bar)
                image.setPixel(x, y, 1);
        }
    }
    return image;
}

QImage greyPattern(int width, int height)
{
    QImage image(width, height, QImage::Format_Grayscale8);
    for (int y = 0; y < height; ++y) {
        uchar* line = image.scanLine(y);
        for (int x = 0; x < width; ++x)
            line[x] = static_cast<uchar>(
                y > height / 2 && y < height / 2 + 4 ? 0 : (x * 255) / qMax(1, width - 1));
    }
    return image;
}

QImage colourPattern(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const bool text = (y / 6) % 4 == 1 && (x / 4) % 5 != 0;
            line[x] =
                text ? qRgb(10, 10, 30)
                     : qRgb((x * 255) / qMax(1, width - 1), 200, (y * 255) / qMax(1, height - 1));
        }
    }
    return image;
}

QImage palettePattern(int width, int height)
{
    QImage image(width, height, QImage::Format_Indexed8);
    image.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0), qRgb(255, 0, 0), qRgb(0, 255, 0),
                         qRgb(0, 0, 255), qRgb(255, 255, 0), qRgb(0, 255, 255),
                         qRgb(128, 128, 128)});
    for (int y = 0; y < height; ++y) {
        uchar* line = image.scanLine(y);
        for (int x = 0; x < width; ++x)
            line[x] = static_cast<uchar>((x / 3 + y / 5) % 8);
    }
    return image;
}

bool samePixels(const QImage& a, const QImage& b)
{
    if (a.size() != b.size())
        return false;
    const QImage left = a.convertToFormat(QImage::Format_ARGB32);
    const QImage right = b.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < left.height(); ++y) {
        if (std::memcmp(left.constScanLine(y), right.constScanLine(y),
                        static_cast<size_t>(left.width()) * 4) != 0)
            return false;
    }
    return true;
}

double meanGreyDifference(const QImage& a, const QImage& b)
{
    if (a.size() != b.size())
        return 255.0;
    const QImage left = a.convertToFormat(QImage::Format_Grayscale8);
    const QImage right = b.convertToFormat(QImage::Format_Grayscale8);
    double sum = 0.0;
    for (int y = 0; y < left.height(); ++y) {
        for (int x = 0; x < left.width(); ++x)
            sum += std::abs(left.constScanLine(y)[x] - right.constScanLine(y)[x]);
    }
    return sum / (static_cast<double>(left.width()) * left.height());
}

} // namespace tifffiles
