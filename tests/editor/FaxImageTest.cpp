#include "editor/core/FaxImage.h"
#include "editor/core/PageList.h"
#include "editor/core/TiffDocumentReader.h"
#include "tests/editor/TiffFilesCoreTest.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <tiffio.h>

namespace {

int luminance(QRgb c)
{
    return (qRed(c) * 77 + qGreen(c) * 150 + qBlue(c) * 29) >> 8;
}

QRgb onWhite(QRgb c)
{
    const int a = qAlpha(c);
    const auto mix = [a](int v) { return (v * a + 255 * (255 - a)) / 255; };
    return qRgb(mix(qRed(c)), mix(qGreen(c)), mix(qBlue(c)));
}

// What the fax page should show, worked out pixel by pixel the slow way: an
// image of two colours maps the darker one to black; anything else is
// thresholded at middle grey.
QImage expectedBlackAndWhite(const QImage& image)
{
    QList<QRgb> colours;
    for (int y = 0; y < image.height() && colours.size() <= 2; ++y) {
        for (int x = 0; x < image.width() && colours.size() <= 2; ++x) {
            const QRgb c = onWhite(image.pixel(x, y));
            if (!colours.contains(c))
                colours.append(c);
        }
    }
    const bool twoColours = colours.size() == 2;
    const QRgb darker =
        twoColours && luminance(colours[1]) < luminance(colours[0]) ? colours[1] : colours.value(0);
    QImage expected(image.size(), QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = onWhite(image.pixel(x, y));
            const bool black = twoColours ? c == darker : luminance(c) < 128;
            expected.setPixel(x, y, black ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
        }
    }
    return expected;
}

struct TiffInfoPage
{
    QSize size;
    QString resolution;
    QString compression;
    int bitsPerSample = 0;
};

// What Debian's tiffinfo says about the file, one entry per directory.
std::vector<TiffInfoPage> tiffinfo(const QString& path)
{
    QProcess process;
    process.start(QStringLiteral("tiffinfo"), {path});
    process.waitForFinished();
    const QString out = QString::fromLocal8Bit(process.readAllStandardOutput());
    std::vector<TiffInfoPage> pages;
    for (const QString& line : out.split(QLatin1Char('\n'))) {
        const QString t = line.trimmed();
        if (t.startsWith(QLatin1String("TIFF Directory")))
            pages.emplace_back();
        if (pages.empty())
            continue;
        const QRegularExpressionMatch size =
            QRegularExpression(QStringLiteral("Image Width: (\\d+) Image Length: (\\d+)")).match(t);
        if (size.hasMatch())
            pages.back().size = QSize(size.captured(1).toInt(), size.captured(2).toInt());
        if (t.startsWith(QLatin1String("Resolution:")))
            pages.back().resolution = t.mid(12);
        if (t.startsWith(QLatin1String("Compression Scheme:")))
            pages.back().compression = t.mid(20);
        if (t.startsWith(QLatin1String("Bits/Sample:")))
            pages.back().bitsPerSample = t.mid(13).toInt();
    }
    return pages;
}

QImage twoColourImage(int width, int height, QImage::Format format, QRgb light, QRgb dark)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, (x / 3 + y / 2) % 3 == 0 ? dark : light);
    }
    return image.convertToFormat(format);
}

QImage withInvertedTable(const QImage& mono)
{
    QImage image = mono.copy();
    image.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    image.invertPixels();
    return image;
}

QImage translucent(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if ((x + y) % 5 == 0)
                image.setPixel(x, y, qRgba(0, 0, 0, 255));
            else if (x % 7 == 0)
                image.setPixel(x, y, qRgba(20, 20, 20, 60)); // faint: stays white
        }
    }
    return image;
}

struct PageKind
{
    const char* name;
    QImage image;
    int dpiX;
    int dpiY;
};

std::vector<PageKind> pageKinds()
{
    QImage onePixel(1, 1, QImage::Format_Mono);
    onePixel.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    onePixel.fill(1);
    return {
        {"Bilevel", tifffiles::bilevelPattern(173, 211), 200, 200},
        {"BilevelBlackIsZero", withInvertedTable(tifffiles::bilevelPattern(77, 50)), 300, 300},
        {"TwoColoursRgb",
         twoColourImage(90, 60, QImage::Format_RGB32, qRgb(250, 240, 120), qRgb(30, 30, 160)), 200,
         200},
        {"TwoLightGreys",
         twoColourImage(90, 60, QImage::Format_Grayscale8, qRgb(250, 250, 250),
                        qRgb(200, 200, 200)),
         200, 200},
        {"Grey", tifffiles::greyPattern(120, 80), 200, 200},
        {"Colour", tifffiles::colourPattern(131, 97), 150, 150},
        {"Palette", tifffiles::palettePattern(64, 64), 100, 100},
        {"Translucent", translucent(50, 40), 200, 200},
        {"OnePixel", onePixel, 72, 72},
        {"FaxWidth", tifffiles::bilevelPattern(1728, 2200), 204, 196},
        {"UnequalResolution", tifffiles::colourPattern(204, 98), 204, 98},
    };
}

std::vector<Page> pagesOf(const std::vector<PageKind>& kinds)
{
    std::vector<Page> pages;
    for (const PageKind& kind : kinds) {
        PageParameters parameters;
        parameters.dpiX = kind.dpiX;
        parameters.dpiY = kind.dpiY;
        Page page(kind.image, parameters);
        page.setImage(kind.image);
        pages.push_back(page);
    }
    return pages;
}

} // namespace

TEST(FaxImageTest, EveryKindOfPageBecomesOneGroup4Page)
{
    QTemporaryDir dir;
    const std::vector<PageKind> kinds = pageKinds();
    const std::vector<Page> pages = pagesOf(kinds);
    const QString path = dir.filePath(QStringLiteral("fax.tif"));

    const Status written = WriteFaxImage(pages, path);
    ASSERT_TRUE(written.ok()) << written.text().toStdString();

    const Result<std::vector<Page>> read = TiffDocumentReader().read(path);
    ASSERT_TRUE(read.ok()) << read.status().text().toStdString();
    ASSERT_EQ(read.value().size(), kinds.size());
    const std::vector<TiffInfoPage> info = tiffinfo(path);
    ASSERT_EQ(info.size(), kinds.size());
    for (size_t i = 0; i < kinds.size(); ++i) {
        SCOPED_TRACE(kinds[i].name);
        const Page& page = read.value()[i];
        EXPECT_EQ(page.image().format(), QImage::Format_Mono);
        EXPECT_EQ(page.parameters().compression, COMPRESSION_CCITTFAX4);
        EXPECT_EQ(page.parameters().dpiX, kinds[i].dpiX);
        EXPECT_EQ(page.parameters().dpiY, kinds[i].dpiY);
        EXPECT_TRUE(tifffiles::samePixels(page.image(), expectedBlackAndWhite(kinds[i].image)));

        EXPECT_EQ(info[i].size, kinds[i].image.size());
        EXPECT_EQ(info[i].compression, QStringLiteral("CCITT Group 4"));
        EXPECT_EQ(info[i].bitsPerSample, 1);
        EXPECT_EQ(info[i].resolution,
                  QStringLiteral("%1, %2 pixels/inch").arg(kinds[i].dpiX).arg(kinds[i].dpiY));
    }
    // The pages themselves keep their colours.
    EXPECT_EQ(pages[5].image().format(), QImage::Format_RGB32);
}

TEST(FaxImageTest, PagesCarryTheFaxTags)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("tags.tif"));
    const std::vector<Page> pages = {Page::blank(QSize(40, 30)), Page::blank(QSize(50, 20))};
    ASSERT_TRUE(WriteFaxImage(pages, path).ok());

    TIFF* tiff = TIFFOpen(QFile::encodeName(path).constData(), "r");
    ASSERT_NE(tiff, nullptr);
    uint16_t index = 99;
    do {
        uint16_t photometric = 9, fillOrder = 9, samples = 9, unit = 9, number = 0, count = 0;
        uint32_t subfile = 9;
        TIFFGetField(tiff, TIFFTAG_PHOTOMETRIC, &photometric);
        TIFFGetFieldDefaulted(tiff, TIFFTAG_FILLORDER, &fillOrder);
        TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLESPERPIXEL, &samples);
        TIFFGetField(tiff, TIFFTAG_RESOLUTIONUNIT, &unit);
        TIFFGetField(tiff, TIFFTAG_PAGENUMBER, &number, &count);
        TIFFGetField(tiff, TIFFTAG_SUBFILETYPE, &subfile);
        EXPECT_EQ(photometric, PHOTOMETRIC_MINISWHITE);
        EXPECT_EQ(fillOrder, FILLORDER_MSB2LSB);
        EXPECT_EQ(samples, 1);
        EXPECT_EQ(unit, RESUNIT_INCH);
        EXPECT_EQ(number, index == 99 ? 0 : index + 1);
        EXPECT_EQ(count, 2);
        EXPECT_EQ(subfile, static_cast<uint32_t>(FILETYPE_PAGE));
        index = number;
    } while (TIFFReadDirectory(tiff));
    TIFFClose(tiff);
}

TEST(FaxImageTest, OutputResolutionResamplesEveryPageToItsPhysicalSize)
{
    const QImage letterBox = tifffiles::bilevelPattern(204, 98); // one inch square at 204 x 98
    std::vector<Page> pages = {Page(tifffiles::bilevelPattern(100, 150), {}), Page(letterBox, {}),
                               Page(tifffiles::colourPattern(60, 60), {})};
    pages[0].parameters().dpiX = pages[0].parameters().dpiY = 200;
    pages[1].parameters().dpiX = 204;
    pages[1].parameters().dpiY = 98;
    pages[2].parameters().dpiX = pages[2].parameters().dpiY = 300;

    std::vector<Page> kept = pages;
    ApplyFaxImageParameters(kept, FaxImageOptions{false, 300});
    EXPECT_EQ(kept[1].image().size(), QSize(204, 98));
    EXPECT_EQ(kept[1].parameters().dpiX, 204);
    EXPECT_EQ(kept[1].parameters().dpiY, 98);
    EXPECT_EQ(kept[0].parameters().compression, PageParameters::kCompressionCcittG4);
    EXPECT_EQ(kept[2].parameters().bitsPerSample, 1);

    ApplyFaxImageParameters(pages, FaxImageOptions{true, 300});
    EXPECT_EQ(pages[0].image().size(), QSize(150, 225));
    EXPECT_EQ(pages[1].image().size(), QSize(300, 300));
    EXPECT_EQ(pages[2].image().size(), QSize(60, 60));
    for (const Page& page : pages) {
        EXPECT_EQ(page.parameters().dpiX, 300);
        EXPECT_EQ(page.parameters().dpiY, 300);
    }
    EXPECT_EQ(pages[0].image().format(), QImage::Format_Mono);
    EXPECT_EQ(pages[2].image().format(), QImage::Format_RGB32);

    // The frame of the 1-bit page survives the enlargement.
    EXPECT_EQ(qGray(pages[0].image().pixel(0, 100)), 0);
    EXPECT_EQ(qGray(pages[0].image().pixel(149, 100)), 0);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("resampled.tif"));
    ASSERT_TRUE(WriteFaxImage(pages, path).ok());
    const std::vector<TiffInfoPage> info = tiffinfo(path);
    ASSERT_EQ(info.size(), 3u);
    EXPECT_EQ(info[1].size, QSize(300, 300));
    EXPECT_EQ(info[1].resolution, QStringLiteral("300, 300 pixels/inch"));
}

// A picture claiming 1 dpi would become 300 times larger in each direction;
// it keeps its pixels and its resolution instead.
TEST(FaxImageTest, AbsurdResolutionIsNotBlownUp)
{
    std::vector<Page> pages = {Page(tifffiles::colourPattern(3000, 3000), {})};
    pages[0].parameters().dpiX = pages[0].parameters().dpiY = 1;
    ApplyFaxImageParameters(pages, FaxImageOptions{true, 300});
    EXPECT_EQ(pages[0].image().size(), QSize(3000, 3000));
    EXPECT_EQ(pages[0].parameters().dpiX, 1);
    EXPECT_EQ(pages[0].parameters().compression, PageParameters::kCompressionCcittG4);
}

// A hairline on a 300 dpi page stays a line when the page goes to 200 dpi.
TEST(FaxImageTest, ReductionKeepsHairlines)
{
    QImage image(300, 300, QImage::Format_Mono);
    image.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    image.fill(0);
    for (int y = 0; y < 300; ++y)
        image.setPixel(151, y, 1);
    for (int x = 0; x < 300; ++x)
        image.setPixel(x, 76, 1);
    std::vector<Page> pages = {Page(image, {})};
    pages[0].parameters().dpiX = pages[0].parameters().dpiY = 300;

    ApplyFaxImageParameters(pages, FaxImageOptions{true, 200});

    const QImage& reduced = pages[0].image();
    ASSERT_EQ(reduced.size(), QSize(200, 200));
    int rowsWithInk = 0;
    int columnsWithInk = 0;
    int blackPixels = 0;
    for (int i = 0; i < 200; ++i) {
        bool rowInk = false;
        bool columnInk = false;
        for (int j = 95; j < 107; ++j)
            rowInk = rowInk || qGray(reduced.pixel(j, i)) == 0;
        for (int j = 45; j < 57; ++j)
            columnInk = columnInk || qGray(reduced.pixel(i, j)) == 0;
        rowsWithInk += rowInk ? 1 : 0;
        columnsWithInk += columnInk ? 1 : 0;
        for (int j = 0; j < 200; ++j)
            blackPixels += qGray(reduced.pixel(j, i)) == 0 ? 1 : 0;
    }
    EXPECT_EQ(rowsWithInk, 200);
    EXPECT_EQ(columnsWithInk, 200);
    // Lines, not smudges: about two lines of at most two pixels each.
    EXPECT_LE(blackPixels, 2 * 2 * 200);
}

TEST(FaxImageTest, PageListIsUpdatedAndAnnounced)
{
    PageList list;
    list.append(Page(tifffiles::colourPattern(20, 20), {}));
    int changed = 0;
    QObject::connect(&list, &PageList::pageChanged, [&changed](int) { ++changed; });
    ApplyFaxImageParameters(list, FaxImageOptions{true, 400});
    EXPECT_EQ(changed, 1);
    EXPECT_EQ(list.page(0).image().size(), QSize(40, 40));
    EXPECT_EQ(list.page(0).image().format(), QImage::Format_RGB32);

    QTemporaryDir dir;
    EXPECT_TRUE(WriteFaxImage(list, dir.filePath(QStringLiteral("list.tif"))).ok());
}

TEST(FaxImageTest, ReplacesAnExistingFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("old.tif"));
    testfiles::write(path, QByteArray("an older fax image"));
    ASSERT_TRUE(WriteFaxImage({Page::blank(QSize(10, 10))}, path).ok());
    const Result<std::vector<Page>> read = TiffDocumentReader().read(path);
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(read.value().size(), 1u);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("old.tif")});
}

TEST(FaxImageTest, NewFileIsTheOwnersAloneAReplacedOneKeepsItsMode)
{
    // Fax images lie in the shared temporary folder and carry the user's
    // documents.
    QTemporaryDir dir;
    const QString fresh = dir.filePath(QStringLiteral("new.tif"));
    ASSERT_TRUE(WriteFaxImage({Page::blank(QSize(10, 10))}, fresh).ok());
    const QFile::Permissions others =
        QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther;
    EXPECT_EQ(QFileInfo(fresh).permissions() & others, QFile::Permissions());

    const QString shared = dir.filePath(QStringLiteral("shared.tif"));
    testfiles::write(shared, QByteArray("an older fax image"));
    QFile::setPermissions(shared, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    ASSERT_TRUE(WriteFaxImage({Page::blank(QSize(10, 10))}, shared).ok());
    EXPECT_TRUE(QFileInfo(shared).permissions() & QFile::ReadGroup);
}

namespace {

struct ImpossibleTarget
{
    const char* name;
    // Prepares the folder and returns the target path.
    QString (*prepare)(const QString& folder);
};

QString folderIsAFile(const QString& folder)
{
    testfiles::write(folder + QStringLiteral("/plain"), QByteArray("not a folder"));
    return folder + QStringLiteral("/plain/fax.tif");
}

QString targetIsAFolder(const QString& folder)
{
    QDir(folder).mkpath(QStringLiteral("fax.tif/inner"));
    return folder + QStringLiteral("/fax.tif");
}

QString folderMissing(const QString& folder)
{
    return folder + QStringLiteral("/no/such/folder/fax.tif");
}

class ImpossibleTargetTest : public ::testing::TestWithParam<ImpossibleTarget>
{
};

} // namespace

TEST_P(ImpossibleTargetTest, FailsNamingTheFileAndLeavesEverythingAsItWas)
{
    QTemporaryDir dir;
    const QString path = GetParam().prepare(dir.path());
    const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);

    const Status written = WriteFaxImage({Page::blank(QSize(10, 10))}, path);

    ASSERT_FALSE(written.ok());
    EXPECT_TRUE(written.text().contains(QDir::toNativeSeparators(path)))
        << written.text().toStdString();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
}

INSTANTIATE_TEST_SUITE_P(Targets, ImpossibleTargetTest,
                         ::testing::Values(ImpossibleTarget{"FolderIsAFile", folderIsAFile},
                                           ImpossibleTarget{"TargetIsAFolder", targetIsAFolder},
                                           ImpossibleTarget{"FolderMissing", folderMissing}),
                         [](const ::testing::TestParamInfo<ImpossibleTarget>& info) {
                             return info.param.name;
                         });

// A file size limit stops the write half way, as a full disk would; even root
// cannot write past it. The earlier file must survive whole, and no partial
// file may stay behind.
TEST(FaxImageTest, WriteCutShortLeavesTheOldFileUntouched)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("fax.tif"));
    const QByteArray old("the fax image of an earlier send");
    testfiles::write(path, old);
    std::vector<Page> pages;
    for (int i = 0; i < 4; ++i)
        pages.push_back(Page(tifffiles::colourPattern(800, 600), {}));

    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const Status written = WriteFaxImage(pages, path);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    ASSERT_FALSE(written.ok());
    EXPECT_TRUE(written.text().contains(QDir::toNativeSeparators(path)))
        << written.text().toStdString();
    EXPECT_EQ(testfiles::read(path), old);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("fax.tif")});
}

TEST(FaxImageTest, EmptyDocumentIsRefused)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("none.tif"));
    EXPECT_FALSE(WriteFaxImage(std::vector<Page>{}, path).ok());
    EXPECT_FALSE(QFileInfo::exists(path));
}
