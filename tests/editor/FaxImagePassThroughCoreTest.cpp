// A Group 4 page read from a file goes into the fax image with its strips as
// they were stored, as long as nothing changed it; everything else is encoded
// from its pixels. Pages kept as strips decode on first use.
#include "TiffFilesCoreTest.h"
#include "editor/core/FaxImage.h"
#include "editor/core/PageList.h"
#include "editor/core/TiffDocumentReader.h"
#include "editor/core/TiffHandle.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <thread>
#include <vector>

using tifffiles::samePixels;
using tifffiles::TiffPage;

namespace {

constexpr int kWidth = 1728;
constexpr int kHeight = 400;

// The strips of one directory as stored in the file.
struct StoredPage
{
    uint32_t rowsPerStrip = 0;
    std::vector<QByteArray> strips;
};

std::vector<StoredPage> storedPages(const QString& path)
{
    std::vector<StoredPage> pages;
    const TiffHandle tiff(TIFFOpen(QFile::encodeName(path).constData(), "r"));
    if (!tiff)
        return pages;
    do {
        StoredPage page;
        TIFFGetFieldDefaulted(tiff.get(), TIFFTAG_ROWSPERSTRIP, &page.rowsPerStrip);
        for (uint32_t s = 0; s < TIFFNumberOfStrips(tiff.get()); ++s) {
            const tmsize_t size = TIFFRawStripSize(tiff.get(), s);
            QByteArray data(static_cast<qsizetype>(size), '\0');
            TIFFReadRawStrip(tiff.get(), s, data.data(), size);
            page.strips.push_back(data);
        }
        pages.push_back(page);
    } while (TIFFReadDirectory(tiff.get()) == 1);
    return pages;
}

TiffPage g4Page(const QImage& image)
{
    TiffPage page;
    page.image = image;
    page.compression = COMPRESSION_CCITTFAX4;
    page.rowsPerStrip = static_cast<uint32_t>(image.height());
    return page;
}

std::vector<Page> readAll(const QString& path, TiffDocumentReader::ReadOptions options = {})
{
    Result<std::vector<Page>> read = TiffDocumentReader(options).read(path);
    EXPECT_TRUE(read.ok()) << read.status().text().toStdString();
    return read.ok() ? std::move(read).value() : std::vector<Page>();
}

// Applies the default fax image settings and writes the pages.
void writeFaxImage(std::vector<Page> pages, const QString& path,
                   const FaxImageOptions& options = {})
{
    ApplyFaxImageParameters(pages, options);
    const Status written = WriteFaxImage(pages, path);
    ASSERT_TRUE(written.ok()) << written.text().toStdString();
}

class FaxImagePassThroughTest : public ::testing::Test
{
protected:
    QString file(const char* name) const { return m_folder.filePath(QString::fromLatin1(name)); }

    QTemporaryDir m_folder;
};

TEST_F(FaxImagePassThroughTest, UnchangedG4PagesKeepTheirStripsAndPixels)
{
    const std::vector<QImage> images = {tifffiles::bilevelPattern(kWidth, kHeight),
                                        tifffiles::bilevelPattern(kWidth / 2, kHeight * 2)};
    ASSERT_TRUE(tifffiles::writeTiff(file("in.tif"), {g4Page(images[0]), g4Page(images[1])}));

    const std::vector<Page> pages = readAll(file("in.tif"));
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_NE(pages[0].encodedStrips(), nullptr);
    writeFaxImage(pages, file("out.tif"));

    const std::vector<StoredPage> in = storedPages(file("in.tif"));
    const std::vector<StoredPage> out = storedPages(file("out.tif"));
    ASSERT_EQ(out.size(), 2u);
    for (size_t i = 0; i < out.size(); ++i) {
        EXPECT_EQ(out[i].rowsPerStrip, in[i].rowsPerStrip);
        EXPECT_EQ(out[i].strips, in[i].strips) << "page " << i + 1;
    }
    const std::vector<Page> back = readAll(file("out.tif"));
    ASSERT_EQ(back.size(), 2u);
    for (size_t i = 0; i < back.size(); ++i)
        EXPECT_TRUE(samePixels(back[i].image(), images[i])) << "page " << i + 1;
}

struct StorageCase
{
    const char* name;
    bool minIsBlack;
    uint16_t fillOrder;
    uint32_t rowsPerStrip;
    // Whether the page's strips can go into the fax image as they are.
    bool keepsStrips;
};

class G4StorageTest : public FaxImagePassThroughTest,
                      public ::testing::WithParamInterface<StorageCase>
{
};

TEST_P(G4StorageTest, PassesStripsThroughOnlyWhereTheyFitAndKeepsEveryPixel)
{
    const StorageCase& c = GetParam();
    const QImage image = tifffiles::bilevelPattern(kWidth, kHeight);
    TiffPage page = g4Page(image);
    page.minIsBlack = c.minIsBlack;
    page.fillOrder = c.fillOrder;
    page.rowsPerStrip = c.rowsPerStrip;
    ASSERT_TRUE(tifffiles::writeTiff(file("in.tif"), {page}));

    const std::vector<Page> pages = readAll(file("in.tif"));
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(pages[0].encodedStrips() != nullptr, c.keepsStrips);
    EXPECT_TRUE(samePixels(pages[0].image(), image));
    writeFaxImage(pages, file("out.tif"));

    const std::vector<StoredPage> out = storedPages(file("out.tif"));
    ASSERT_EQ(out.size(), 1u);
    if (c.keepsStrips) {
        const std::vector<StoredPage> in = storedPages(file("in.tif"));
        EXPECT_EQ(out[0].rowsPerStrip, c.rowsPerStrip);
        EXPECT_EQ(out[0].strips, in[0].strips);
    } else {
        // Encoded afresh: one strip, 0 = white, usual bit order.
        EXPECT_EQ(out[0].strips.size(), 1u);
    }
    const std::vector<Page> back = readAll(file("out.tif"));
    ASSERT_EQ(back.size(), 1u);
    EXPECT_TRUE(samePixels(back[0].image(), image));
}

INSTANTIATE_TEST_SUITE_P(
    Storage, G4StorageTest,
    ::testing::Values(StorageCase{"OneStrip", false, FILLORDER_MSB2LSB, kHeight, true},
                      StorageCase{"ManyStrips", false, FILLORDER_MSB2LSB, 64, true},
                      StorageCase{"OddLastStrip", false, FILLORDER_MSB2LSB, 150, true},
                      StorageCase{"MinIsBlack", true, FILLORDER_MSB2LSB, kHeight, false},
                      StorageCase{"ReversedBits", false, FILLORDER_LSB2MSB, 64, false}),
    [](const ::testing::TestParamInfo<StorageCase>& info) { return info.param.name; });

TEST_F(FaxImagePassThroughTest, EditedPagesAreEncodedFromWhatTheyShow)
{
    const QImage original = tifffiles::bilevelPattern(kWidth, kHeight);
    ASSERT_TRUE(tifffiles::writeTiff(
        file("in.tif"), {g4Page(original), g4Page(original), g4Page(original), g4Page(original)}));
    PageList list;
    list.reset(readAll(file("in.tif")));
    ASSERT_EQ(list.count(), 4);

    QImage edited = original.copy();
    edited.invertPixels();
    list.replaceImage(0, edited);
    list.replace(1, Page(edited, list.page(1).parameters()));
    PageParameters relabelled = list.page(2).parameters();
    relabelled.dpiY = relabelled.dpiX / 2;
    list.setParameters(2, relabelled);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(list.page(i).encodedStrips(), nullptr) << "page " << i + 1;
    EXPECT_NE(list.page(3).encodedStrips(), nullptr);

    ApplyFaxImageParameters(list, {});
    ASSERT_TRUE(WriteFaxImage(list, file("out.tif")).ok());
    const std::vector<StoredPage> in = storedPages(file("in.tif"));
    const std::vector<StoredPage> out = storedPages(file("out.tif"));
    ASSERT_EQ(out.size(), 4u);
    EXPECT_NE(out[0].strips, in[0].strips);
    EXPECT_NE(out[1].strips, in[1].strips);
    EXPECT_EQ(out[3].strips, in[3].strips);

    const std::vector<Page> back = readAll(file("out.tif"));
    ASSERT_EQ(back.size(), 4u);
    EXPECT_TRUE(samePixels(back[0].image(), edited));
    EXPECT_TRUE(samePixels(back[1].image(), edited));
    EXPECT_TRUE(samePixels(back[2].image(), original));
    EXPECT_EQ(back[2].parameters().dpiY, relabelled.dpiY);
    EXPECT_TRUE(samePixels(back[3].image(), original));
}

TEST_F(FaxImagePassThroughTest, AnOutputResolutionResamplesInsteadOfPassingThrough)
{
    const QImage image = tifffiles::bilevelPattern(kWidth, kHeight);
    ASSERT_TRUE(tifffiles::writeTiff(file("in.tif"), {g4Page(image)})); // 200 dpi

    std::vector<Page> pages = readAll(file("in.tif"));
    ApplyFaxImageParameters(pages, {true, 100});
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(pages[0].encodedStrips(), nullptr);
    ASSERT_TRUE(WriteFaxImage(pages, file("out.tif")).ok());

    const std::vector<Page> back = readAll(file("out.tif"));
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0].width(), kWidth / 2);
    EXPECT_EQ(back[0].height(), kHeight / 2);
    EXPECT_EQ(back[0].parameters().dpiX, 100);
}

TEST_F(FaxImagePassThroughTest, PagesDecodedOnFirstUseGiveTheSamePixelsToEveryThread)
{
    const QImage image = tifffiles::bilevelPattern(kWidth, kHeight);
    ASSERT_TRUE(tifffiles::writeTiff(file("in.tif"), {g4Page(image)}));
    const std::vector<Page> pages = readAll(file("in.tif"), {false});
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(pages[0].width(), kWidth);
    EXPECT_EQ(pages[0].height(), kHeight);

    constexpr int kThreads = 8;
    std::vector<QImage> seen(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        // Every thread its own copy: copies share one decode.
        threads.emplace_back(
            [copy = pages[0], &seen, t] { seen[static_cast<size_t>(t)] = copy.image(); });
    }
    for (std::thread& thread : threads)
        thread.join();
    for (const QImage& pixels : seen) {
        EXPECT_TRUE(samePixels(pixels, image));
        EXPECT_EQ(pixels.constBits(), seen.front().constBits()); // decoded once
    }
}

// Overwrites the middle of the first strip of the file's first page.
bool damageFirstStrip(const QString& path)
{
    uint64_t offset = 0;
    uint64_t size = 0;
    {
        const TiffHandle tiff(TIFFOpen(QFile::encodeName(path).constData(), "r"));
        uint64_t* offsets = nullptr;
        uint64_t* sizes = nullptr;
        if (!tiff || TIFFGetField(tiff.get(), TIFFTAG_STRIPOFFSETS, &offsets) != 1 ||
            TIFFGetField(tiff.get(), TIFFTAG_STRIPBYTECOUNTS, &sizes) != 1)
            return false;
        offset = offsets[0];
        size = sizes[0];
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite) || !file.seek(static_cast<qint64>(offset + size / 4)))
        return false;
    QByteArray noise(static_cast<qsizetype>(size / 2), '\0');
    for (qsizetype i = 0; i < noise.size(); ++i)
        noise[i] = static_cast<char>(0x5a ^ (i * 31));
    return file.write(noise) == noise.size();
}

TEST_F(FaxImagePassThroughTest, ADamagedStripIsRefusedNamingTheFile)
{
    const QImage image = tifffiles::bilevelPattern(kWidth, kHeight);
    ASSERT_TRUE(tifffiles::writeTiff(file("damaged.tif"), {g4Page(image), g4Page(image)}));
    ASSERT_TRUE(damageFirstStrip(file("damaged.tif")));

    const Result<std::vector<Page>> read = TiffDocumentReader().read(file("damaged.tif"));
    ASSERT_FALSE(read.ok());
    EXPECT_TRUE(read.status().text().contains(QStringLiteral("damaged.tif")));

    // Read without decoding, the damage shows when the pixels are wanted and
    // when the page would go into a fax image.
    const Result<std::vector<Page>> lazy = TiffDocumentReader({false}).read(file("damaged.tif"));
    ASSERT_TRUE(lazy.ok());
    ASSERT_EQ(lazy.value().size(), 2u);
    EXPECT_FALSE(lazy.value()[0].decode().ok());
    EXPECT_TRUE(lazy.value()[0].image().isNull());
    std::vector<Page> pages = lazy.value();
    ApplyFaxImageParameters(pages, {true, 100});
    const Status written = WriteFaxImage(pages, file("out.tif"));
    ASSERT_FALSE(written.ok());
    EXPECT_TRUE(written.text().contains(QStringLiteral("out.tif")));
    EXPECT_TRUE(written.text().contains(QStringLiteral("page 1")));
    EXPECT_FALSE(QFile::exists(file("out.tif")));
}

// A one-strip Group 4 page whose strip is the given data, whatever it holds.
bool writeRawG4Page(const QString& path, int width, int height, QByteArray strip)
{
    const TiffHandle tiff(TIFFOpen(QFile::encodeName(path).constData(), "w"));
    return tiff && TIFFSetField(tiff.get(), TIFFTAG_IMAGEWIDTH, static_cast<uint32_t>(width)) &&
           TIFFSetField(tiff.get(), TIFFTAG_IMAGELENGTH, static_cast<uint32_t>(height)) &&
           TIFFSetField(tiff.get(), TIFFTAG_BITSPERSAMPLE, 1) &&
           TIFFSetField(tiff.get(), TIFFTAG_COMPRESSION, COMPRESSION_CCITTFAX4) &&
           TIFFSetField(tiff.get(), TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE) &&
           TIFFSetField(tiff.get(), TIFFTAG_ROWSPERSTRIP, static_cast<uint32_t>(height)) &&
           TIFFWriteRawStrip(tiff.get(), 0, strip.data(), strip.size()) >= 0 &&
           TIFFWriteDirectory(tiff.get());
}

TEST_F(FaxImagePassThroughTest, AStripCutShortIsEncodedAfreshFromWhatThePageShows)
{
    const QImage image = tifffiles::bilevelPattern(kWidth, kHeight);
    ASSERT_TRUE(tifffiles::writeTiff(file("whole.tif"), {g4Page(image)}));
    const QByteArray whole = storedPages(file("whole.tif")).at(0).strips.at(0);
    // libtiff only warns about rows that end early and leaves the rest white.
    ASSERT_TRUE(writeRawG4Page(file("cut.tif"), kWidth, kHeight, whole.left(whole.size() / 2)));

    const std::vector<Page> pages = readAll(file("cut.tif"));
    ASSERT_EQ(pages.size(), 1u);
    const QImage shown = pages[0].image();
    writeFaxImage(pages, file("out.tif"));

    EXPECT_NE(storedPages(file("out.tif")).at(0).strips, storedPages(file("cut.tif")).at(0).strips);
    const std::vector<Page> back = readAll(file("out.tif"));
    ASSERT_EQ(back.size(), 1u);
    EXPECT_TRUE(samePixels(back[0].image(), shown));
    EXPECT_TRUE(back[0].encodedStripsAreSound());
}

} // namespace
