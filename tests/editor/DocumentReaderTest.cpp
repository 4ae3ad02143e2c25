#include "editor/core/DocumentReaders.h"
#include "editor/core/TiffDocumentReader.h"
#include "tests/editor/TiffFilesCoreTest.h"
#include "tests/support/TestFiles.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using tifffiles::TiffPage;

namespace {

struct CompressionCase
{
    const char* name;
    QImage::Format format;
    uint16_t compression;
    bool lossy;
};

class TiffCompressionTest : public ::testing::TestWithParam<CompressionCase>
{
protected:
    QTemporaryDir dir;
};

QImage patternFor(QImage::Format format, int width, int height)
{
    switch (format) {
    case QImage::Format_Mono:
        return tifffiles::bilevelPattern(width, height);
    case QImage::Format_Grayscale8:
        return tifffiles::greyPattern(width, height);
    case QImage::Format_Indexed8:
        return tifffiles::palettePattern(width, height);
    default:
        return tifffiles::colourPattern(width, height);
    }
}

} // namespace

// Every compression libtiff decodes, for the page kinds that use it; two pages
// of different sizes and resolutions each, read back in order.
TEST_P(TiffCompressionTest, ReadsEveryPageInItsOwnFormat)
{
    const CompressionCase c = GetParam();
    TiffPage first;
    first.image = patternFor(c.format, 173, 211);
    first.compression = c.compression;
    first.xResolution = 204;
    first.yResolution = 98;
    first.jpegYCbCr = c.format == QImage::Format_RGB32;
    TiffPage second = first;
    second.image = patternFor(c.format, 64, 40);
    second.xResolution = 300;
    second.yResolution = 300;
    const QString path = dir.filePath(QStringLiteral("doc.tif"));
    ASSERT_TRUE(tifffiles::writeTiff(path, {first, second}));

    const Result<std::vector<Page>> pages = TiffDocumentReader().read(path);
    ASSERT_TRUE(pages.ok()) << pages.status().text().toStdString();
    ASSERT_EQ(pages.value().size(), 2u);
    const std::vector<TiffPage> written = {first, second};
    for (size_t i = 0; i < 2; ++i) {
        const Page& page = pages.value()[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(page.image().format(), c.format);
        EXPECT_EQ(page.image().size(), written[i].image.size());
        EXPECT_EQ(page.parameters().dpiX, static_cast<int>(written[i].xResolution));
        EXPECT_EQ(page.parameters().dpiY, static_cast<int>(written[i].yResolution));
        EXPECT_EQ(page.parameters().compression, c.compression);
        if (c.lossy)
            EXPECT_LT(tifffiles::meanGreyDifference(page.image(), written[i].image), 4.0);
        else
            EXPECT_TRUE(tifffiles::samePixels(page.image(), written[i].image));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Compressions, TiffCompressionTest,
    ::testing::Values(
        CompressionCase{"BilevelNone", QImage::Format_Mono, COMPRESSION_NONE, false},
        CompressionCase{"BilevelPackBits", QImage::Format_Mono, COMPRESSION_PACKBITS, false},
        CompressionCase{"BilevelG3", QImage::Format_Mono, COMPRESSION_CCITTFAX3, false},
        CompressionCase{"BilevelG4", QImage::Format_Mono, COMPRESSION_CCITTFAX4, false},
        CompressionCase{"BilevelLzw", QImage::Format_Mono, COMPRESSION_LZW, false},
        CompressionCase{"GreyDeflate", QImage::Format_Grayscale8, COMPRESSION_ADOBE_DEFLATE, false},
        CompressionCase{"GreyJpeg", QImage::Format_Grayscale8, COMPRESSION_JPEG, true},
        CompressionCase{"PaletteLzw", QImage::Format_Indexed8, COMPRESSION_LZW, false},
        CompressionCase{"PalettePackBits", QImage::Format_Indexed8, COMPRESSION_PACKBITS, false},
        CompressionCase{"RgbNone", QImage::Format_RGB32, COMPRESSION_NONE, false},
        CompressionCase{"RgbDeflate", QImage::Format_RGB32, COMPRESSION_ADOBE_DEFLATE, false},
        CompressionCase{"RgbJpegYCbCr", QImage::Format_RGB32, COMPRESSION_JPEG, true}),
    [](const ::testing::TestParamInfo<CompressionCase>& info) { return info.param.name; });

// The ways a bilevel page can say which bit is black and in which order its
// bits lie all give the same black pixels.
TEST(TiffReaderTest, BilevelPhotometricAndFillOrderGiveTheSamePixels)
{
    QTemporaryDir dir;
    const QImage pattern = tifffiles::bilevelPattern(101, 57);
    struct Variant
    {
        bool minIsBlack;
        uint16_t fillOrder;
        uint16_t compression;
    };
    const Variant variants[] = {{false, FILLORDER_MSB2LSB, COMPRESSION_NONE},
                                {true, FILLORDER_MSB2LSB, COMPRESSION_NONE},
                                {false, FILLORDER_LSB2MSB, COMPRESSION_NONE},
                                {true, FILLORDER_LSB2MSB, COMPRESSION_CCITTFAX4},
                                {false, FILLORDER_LSB2MSB, COMPRESSION_CCITTFAX3}};
    for (const Variant& v : variants) {
        SCOPED_TRACE(testing::Message()
                     << v.minIsBlack << " " << v.fillOrder << " " << v.compression);
        TiffPage page;
        page.image = pattern;
        page.minIsBlack = v.minIsBlack;
        page.fillOrder = v.fillOrder;
        page.compression = v.compression;
        const QString path = dir.filePath(QStringLiteral("bilevel.tif"));
        ASSERT_TRUE(tifffiles::writeTiff(path, {page}));
        const Result<std::vector<Page>> pages = TiffDocumentReader().read(path);
        ASSERT_TRUE(pages.ok()) << pages.status().text().toStdString();
        const QImage& image = pages.value().front().image();
        EXPECT_EQ(image.format(), QImage::Format_Mono);
        EXPECT_EQ(image.color(0), qRgb(255, 255, 255));
        EXPECT_TRUE(tifffiles::samePixels(image, pattern));
    }
}

// Tiled pages take the general path through libtiff's RGBA reading and still
// come out in their own format.
TEST(TiffReaderTest, TiledPagesKeepTheirFormat)
{
    QTemporaryDir dir;
    const QImage images[] = {tifffiles::bilevelPattern(70, 50), tifffiles::greyPattern(70, 50),
                             tifffiles::colourPattern(70, 50)};
    std::vector<TiffPage> written;
    for (const QImage& image : images) {
        TiffPage page;
        page.image = image;
        page.compression = COMPRESSION_LZW;
        page.minIsBlack = true;
        page.tileSize = 32;
        written.push_back(page);
    }
    const QString path = dir.filePath(QStringLiteral("tiled.tif"));
    ASSERT_TRUE(tifffiles::writeTiff(path, written));
    const Result<std::vector<Page>> pages = TiffDocumentReader().read(path);
    ASSERT_TRUE(pages.ok()) << pages.status().text().toStdString();
    ASSERT_EQ(pages.value().size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(pages.value()[i].image().format(), images[i].format());
        EXPECT_TRUE(tifffiles::samePixels(pages.value()[i].image(), images[i]));
    }
    EXPECT_EQ(pages.value()[0].image().color(0), qRgb(255, 255, 255));
}

TEST(TiffReaderTest, CentimetreResolutionBecomesDotsPerInch)
{
    QTemporaryDir dir;
    TiffPage page;
    page.image = tifffiles::bilevelPattern(16, 16);
    page.xResolution = 80.0f; // 203.2 dpi
    page.yResolution = 38.5f; // 97.79 dpi
    page.resolutionUnit = RESUNIT_CENTIMETER;
    const QString path = dir.filePath(QStringLiteral("cm.tif"));
    ASSERT_TRUE(tifffiles::writeTiff(path, {page}));
    const Result<std::vector<Page>> pages = TiffDocumentReader().read(path);
    ASSERT_TRUE(pages.ok());
    EXPECT_EQ(pages.value().front().parameters().dpiX, 203);
    EXPECT_EQ(pages.value().front().parameters().dpiY, 98);
}

TEST(TiffReaderTest, PageWithAlphaIsReadThroughTheGeneralPath)
{
    QTemporaryDir dir;
    QImage image(30, 20, QImage::Format_ARGB32);
    image.fill(qRgba(200, 10, 10, 255));
    for (int x = 0; x < 30; ++x)
        image.setPixel(x, 5, qRgba(0, 0, 200, 128));
    TiffPage page;
    page.image = image;
    page.compression = COMPRESSION_LZW;
    const QString path = dir.filePath(QStringLiteral("rgba.tif"));
    ASSERT_TRUE(tifffiles::writeTiff(path, {page}));
    const Result<std::vector<Page>> pages = TiffDocumentReader().read(path);
    ASSERT_TRUE(pages.ok()) << pages.status().text().toStdString();
    const QImage& read = pages.value().front().image();
    EXPECT_EQ(read.format(), QImage::Format_ARGB32);
    EXPECT_EQ(read.pixel(3, 3), qRgba(200, 10, 10, 255));
    EXPECT_EQ(qAlpha(read.pixel(3, 5)), 128);
}

namespace {

struct DamagedCase
{
    const char* name;
    const char* fileName;
    // Makes the damaged file from a good two-page G4 document.
    QByteArray (*damage)(const QByteArray& good);
    // A word the message must hold besides the file name, if any.
    const char* mentions = nullptr;
};

QByteArray truncatedInTheMiddle(const QByteArray& good)
{
    return good.left(good.size() / 2);
}

// The directories stay whole, but the compressed pixels are overwritten.
QByteArray corruptedPixels(const QByteArray& good)
{
    QByteArray bytes = good;
    for (int i = 8; i < bytes.size() / 3; ++i)
        bytes[i] = static_cast<char>(0x5a ^ (i * 31));
    return bytes;
}

QByteArray garbage(const QByteArray&)
{
    QByteArray bytes;
    for (int i = 0; i < 4000; ++i)
        bytes.append(static_cast<char>((i * 7919) % 251));
    return bytes;
}

QByteArray empty(const QByteArray&)
{
    return {};
}

QByteArray onlyTheHeader(const QByteArray& good)
{
    return good.left(8);
}

// A well-formed little-endian TIFF header and directory claiming a page of
// 100000 by 100000 pixels.
QByteArray absurdSize(const QByteArray&)
{
    QByteArray bytes("II*\0\x08\0\0\0", 8);
    auto put16 = [&](int v) {
        bytes.append(static_cast<char>(v & 0xff)).append(static_cast<char>(v >> 8));
    };
    auto put32 = [&](quint32 v) {
        for (int i = 0; i < 4; ++i)
            bytes.append(static_cast<char>((v >> (8 * i)) & 0xff));
    };
    auto entry = [&](int tag, int type, quint32 count, quint32 value) {
        put16(tag);
        put16(type);
        put32(count);
        put32(value);
    };
    put16(8);
    entry(256, 4, 1, 100000); // ImageWidth
    entry(257, 4, 1, 100000); // ImageLength
    entry(258, 3, 1, 1);      // BitsPerSample
    entry(259, 3, 1, 1);      // Compression none
    entry(262, 3, 1, 0);      // Photometric min-is-white
    entry(273, 4, 1, 200);    // StripOffsets
    entry(278, 4, 1, 100000); // RowsPerStrip
    entry(279, 4, 1, 16);     // StripByteCounts
    put32(0);
    bytes.append(QByteArray(64, '\0'));
    return bytes;
}

quint32 crc32(const QByteArray& bytes)
{
    quint32 crc = 0xffffffffu;
    for (const char c : bytes) {
        crc ^= static_cast<uchar>(c);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

QByteArray bigEndian32(quint32 value)
{
    QByteArray bytes;
    for (int shift = 24; shift >= 0; shift -= 8)
        bytes.append(static_cast<char>((value >> shift) & 0xff));
    return bytes;
}

QByteArray pngChunk(const QByteArray& type, const QByteArray& data)
{
    return bigEndian32(static_cast<quint32>(data.size())) + type + data +
           bigEndian32(crc32(type + data));
}

// A valid PNG header for a 100000 by 100000 colour picture, and next to no
// pixels.
QByteArray absurdSizePng(const QByteArray&)
{
    const QByteArray header =
        bigEndian32(100000) + bigEndian32(100000) + QByteArray("\x08\x02\0\0\0", 5);
    // libpng reads the header up to the first pixel data chunk.
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + pngChunk("IHDR", header) +
           pngChunk("IDAT", QByteArray("\x78\x9c\x03\0", 4)) + pngChunk("IEND", {});
}

class DamagedTiffTest : public ::testing::TestWithParam<DamagedCase>
{
};

} // namespace

TEST_P(DamagedTiffTest, FailsWithATextNamingTheFile)
{
    QTemporaryDir dir;
    const QString goodPath = dir.filePath(QStringLiteral("good.tif"));
    TiffPage page;
    page.image = tifffiles::bilevelPattern(400, 600);
    page.compression = COMPRESSION_CCITTFAX4;
    ASSERT_TRUE(tifffiles::writeTiff(goodPath, {page, page}));

    const DamagedCase c = GetParam();
    const QString path = dir.filePath(QString::fromLatin1(c.fileName));
    if (c.damage != nullptr)
        testfiles::write(path, c.damage(testfiles::read(goodPath)));

    const Result<std::vector<Page>> pages = DocumentReaders::read(path);
    ASSERT_FALSE(pages.ok());
    EXPECT_TRUE(pages.status().text().contains(QDir::toNativeSeparators(path)))
        << pages.status().text().toStdString();
    if (c.mentions != nullptr) {
        EXPECT_TRUE(pages.status().text().contains(QLatin1String(c.mentions)))
            << pages.status().text().toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, DamagedTiffTest,
    ::testing::Values(DamagedCase{"Truncated", "cut.tif", truncatedInTheMiddle},
                      DamagedCase{"CorruptedPixels", "bad.tif", corruptedPixels},
                      DamagedCase{"Garbage", "garbage.tif", garbage},
                      DamagedCase{"ZeroBytes", "empty.tif", empty, "empty"},
                      DamagedCase{"OnlyHeader", "header.fax", onlyTheHeader},
                      DamagedCase{"AbsurdSize", "huge.tif", absurdSize, "100000"},
                      DamagedCase{"GarbagePicture", "garbage.png", garbage},
                      DamagedCase{"AbsurdSizePicture", "huge.png", absurdSizePng, "100000"},
                      DamagedCase{"MissingFile", "nothing-here.tif", nullptr}),
    [](const ::testing::TestParamInfo<DamagedCase>& info) { return info.param.name; });

TEST(DocumentReadersTest, ExtensionTableChoosesTheReader)
{
    using Kind = DocumentReaders::Kind;
    const std::pair<const char*, Kind> cases[] = {
        {"a.tif", Kind::Tiff},          {"a.TIFF", Kind::Tiff},
        {"a.fax", Kind::Tiff},          {"a.g3f", Kind::Tiff},
        {"a.g3n", Kind::Tiff},          {"a.xif", Kind::Tiff},
        {"a.gif", Kind::Gif},           {"a.dcx", Kind::Dcx},
        {"a.ICO", Kind::Icon},          {"a.avi", Kind::Video},
        {"a.dcm", Kind::Dicom},         {"a.dicom", Kind::Dicom},
        {"a.dic", Kind::Dicom},         {"a.v2", Kind::Dicom},
        {"a.png", Kind::SinglePicture}, {"a.b.jpg", Kind::SinglePicture},
        {"noext", Kind::SinglePicture}};
    for (const auto& [name, kind] : cases)
        EXPECT_EQ(DocumentReaders::kindOf(QString::fromLatin1(name)), kind) << name;
}

TEST(DocumentReadersTest, KindsWeDoNotReadFailNamingTheFile)
{
    QTemporaryDir dir;
    for (const char* name : {"scan.dcx", "clip.avi", "head.dcm"}) {
        const QString path = dir.filePath(QString::fromLatin1(name));
        testfiles::write(path, QByteArray(100, 'x'));
        const Result<std::vector<Page>> pages = DocumentReaders::read(path);
        ASSERT_FALSE(pages.ok());
        EXPECT_TRUE(pages.status().text().contains(QDir::toNativeSeparators(path)));
    }
}

TEST(DocumentReadersTest, SinglePicturesKeepTheirFormatAndResolution)
{
    QTemporaryDir dir;
    struct PictureCase
    {
        const char* fileName;
        QImage image;
        QImage::Format expected;
    };
    QImage colour = tifffiles::colourPattern(40, 30);
    colour.setDotsPerMeterX(11811); // 300 dpi
    colour.setDotsPerMeterY(7874);  // 200 dpi
    QImage bilevel = tifffiles::bilevelPattern(33, 21);
    bilevel.setDotsPerMeterX(11811);
    bilevel.setDotsPerMeterY(11811);
    const PictureCase cases[] = {{"colour.png", colour, QImage::Format_RGB32},
                                 {"bilevel.png", bilevel, QImage::Format_Mono},
                                 {"colour.bmp", colour, QImage::Format_RGB32}};
    for (const PictureCase& c : cases) {
        SCOPED_TRACE(c.fileName);
        const QString path = dir.filePath(QString::fromLatin1(c.fileName));
        ASSERT_TRUE(c.image.save(path));
        const Result<std::vector<Page>> pages = DocumentReaders::read(path);
        ASSERT_TRUE(pages.ok()) << pages.status().text().toStdString();
        ASSERT_EQ(pages.value().size(), 1u);
        const Page& page = pages.value().front();
        EXPECT_EQ(page.image().format(), c.expected);
        EXPECT_TRUE(tifffiles::samePixels(page.image(), c.image));
        EXPECT_EQ(page.parameters().dpiX, 300);
        EXPECT_EQ(page.parameters().dpiY, c.image.dotsPerMeterY() == 7874 ? 200 : 300);
    }
}

namespace {

// Qt writes one image per icon file; two of them are joined into one file
// with two directory entries.
QByteArray twoImageIcon(const QString& folder)
{
    QByteArray payloads[2];
    QByteArray entries[2];
    const QSize sizes[2] = {QSize(16, 16), QSize(32, 32)};
    for (int i = 0; i < 2; ++i) {
        QImage image(sizes[i], QImage::Format_ARGB32);
        image.fill(i == 0 ? Qt::red : Qt::blue);
        const QString path = folder + QStringLiteral("/single%1.ico").arg(i);
        QImageWriter writer(path, "ico");
        if (!writer.write(image))
            return {};
        const QByteArray single = testfiles::read(path);
        constexpr int kHeader = 6;
        constexpr int kEntry = 16;
        entries[i] = single.mid(kHeader, kEntry);
        payloads[i] = single.mid(kHeader + kEntry);
    }
    QByteArray file("\0\0\1\0\2\0", 6);
    quint32 offset = 6 + 2 * 16;
    for (int i = 0; i < 2; ++i) {
        QByteArray entry = entries[i];
        for (int b = 0; b < 4; ++b)
            entry[12 + b] = static_cast<char>((offset >> (8 * b)) & 0xff);
        file.append(entry);
        offset += static_cast<quint32>(payloads[i].size());
    }
    return file + payloads[0] + payloads[1];
}

} // namespace

TEST(DocumentReadersTest, EveryImageOfAnIconFileIsAPage)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("icons.ico"));
    const QByteArray icon = twoImageIcon(dir.path());
    ASSERT_FALSE(icon.isEmpty());
    testfiles::write(path, icon);
    const Result<std::vector<Page>> pages = DocumentReaders::read(path);
    ASSERT_TRUE(pages.ok()) << pages.status().text().toStdString();
    ASSERT_EQ(pages.value().size(), 2u);
    EXPECT_EQ(pages.value()[0].image().size(), QSize(16, 16));
    EXPECT_EQ(pages.value()[1].image().size(), QSize(32, 32));
    EXPECT_EQ(QColor(pages.value()[1].image().pixel(5, 5)), QColor(Qt::blue));
}

namespace {

// A two-frame GIF of 2 by 2 pixels: frame one all black, frame two all white.
QByteArray twoFrameGif()
{
    const unsigned char bytes[] = {
        'G',  'I',  'F',  '8',  '9', 'a', 2,    0, 2, 0, 0x80, 0, 0, // screen, 2-colour table
        0,    0,    0,    255,  255, 255,                            // black, white
        0x21, 0xF9, 4,    0,    10,  0,   0xFF, 0,                   // graphic control
        0x2C, 0,    0,    0,    0,   2,   0,    2, 0, 0,             // image descriptor
        2,    2,    0x84, 0x51, 0,                                   // LZW data: 4 x index 0
        0x21, 0xF9, 4,    0,    10,  0,   0xFF, 0,                   // graphic control
        0x2C, 0,    0,    0,    0,   2,   0,    2, 0, 0,             // image descriptor
        2,    2,    0x8C, 0x53, 0,                                   // LZW data: 4 x index 1
        0x3B};
    return QByteArray(reinterpret_cast<const char*>(bytes), sizeof bytes);
}

} // namespace

TEST(DocumentReadersTest, JpegPictureIsOneColourPage)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("photo.jpg"));
    const QImage colour = tifffiles::colourPattern(64, 48);
    ASSERT_TRUE(colour.save(path, "JPEG", 95));
    const Result<std::vector<Page>> pages = DocumentReaders::read(path);
    ASSERT_TRUE(pages.ok()) << pages.status().text().toStdString();
    ASSERT_EQ(pages.value().size(), 1u);
    EXPECT_EQ(pages.value().front().image().format(), QImage::Format_RGB32);
    EXPECT_LT(tifffiles::meanGreyDifference(pages.value().front().image(), colour), 6.0);
}

TEST(DocumentReadersTest, OpenDialogOffersWhatCanBeRead)
{
    const QStringList extensions = DocumentReaders::readableExtensions();
    for (const char* readable : {"tif", "tiff", "fax", "gif", "ico", "png", "bmp", "jpg"})
        EXPECT_TRUE(extensions.contains(QLatin1String(readable))) << readable;
    for (const char* unread : {"dcx", "avi", "dcm"})
        EXPECT_FALSE(extensions.contains(QLatin1String(unread))) << unread;
    const QString filter = DocumentReaders::openDialogFilter(QStringLiteral("Documents"));
    EXPECT_TRUE(filter.startsWith(QStringLiteral("Documents (*.tif *.tiff")));
    EXPECT_TRUE(filter.endsWith(QLatin1Char(')')));
}

TEST(DocumentReadersTest, EveryFrameOfAGifIsAPage)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("frames.gif"));
    testfiles::write(path, twoFrameGif());
    const Result<std::vector<Page>> pages = DocumentReaders::read(path);
    ASSERT_TRUE(pages.ok()) << pages.status().text().toStdString();
    ASSERT_EQ(pages.value().size(), 2u);
    EXPECT_EQ(QColor(pages.value()[0].image().pixel(1, 1)), QColor(Qt::black));
    EXPECT_EQ(QColor(pages.value()[1].image().pixel(1, 1)), QColor(Qt::white));
}

TEST(DocumentReadersTest, TargaPictureIsOnePage)
{
    if (!QImageReader::supportedImageFormats().contains("tga"))
        GTEST_SKIP() << "Qt's TGA reader (qt6-image-formats-plugins) is not installed";
    // Uncompressed true colour, 3 by 2 pixels, top-left origin, BGR order.
    QByteArray tga(18, '\0');
    tga[2] = 2;   // true colour
    tga[12] = 3;  // width
    tga[14] = 2;  // height
    tga[16] = 24; // bits per pixel
    tga[17] = 0x20;
    const unsigned char pixels[] = {0, 0, 255, 0,   255, 0,   255, 0, 0,
                                    0, 0, 0,   255, 255, 255, 0,   0, 0};
    tga.append(reinterpret_cast<const char*>(pixels), sizeof pixels);
    // Qt reads only TGA 2.0 files, which end with this footer.
    tga.append(QByteArray(8, '\0')).append("TRUEVISION-XFILE.").append('\0');
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("picture.tga"));
    testfiles::write(path, tga);

    const Result<std::vector<Page>> pages = DocumentReaders::read(path);
    ASSERT_TRUE(pages.ok()) << pages.status().text().toStdString();
    ASSERT_EQ(pages.value().size(), 1u);
    const QImage& image = pages.value().front().image();
    EXPECT_EQ(image.size(), QSize(3, 2));
    EXPECT_EQ(image.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(2, 0), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(1, 1), qRgb(255, 255, 255));
}
