// Thumbnails of pages: how they are made from 1-bit pages, that they are made
// only when seen, and that captions stay with their entries.
#include "tests/editor/EditorSupportUiTest.h"

#include "editor/core/PageList.h"
#include "editor/ui/PageThumbnailModel.h"
#include "editor/ui/ThumbnailImage.h"
#include "editor/ui/ThumbnailList.h"

using namespace editorui;

namespace {
// A white A4 page with a single black column one pixel wide.
QImage PageWithHairline(int column)
{
    QImage page(1664, 2338, QImage::Format_Mono);
    page.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    page.fill(0);
    for (int y = 0; y < page.height(); ++y)
        page.setPixel(column, y, 1);
    return page;
}
} // namespace

TEST(ThumbnailUiTest, BilevelPagesAreAveragedSoThinLinesStayVisible)
{
    const QImage page = PageWithHairline(833);

    const QImage thumbnail = MakeThumbnail(page, QSize(170, 170));

    EXPECT_EQ(thumbnail.size(), QSize(120, 170));
    EXPECT_EQ(thumbnail.format(), QImage::Format_Grayscale8);
    int darkest = 255;
    for (int x = 0; x < thumbnail.width(); ++x)
        darkest = qMin(darkest, qGray(thumbnail.pixel(x, 85)));
    EXPECT_LT(darkest, 255);
    EXPECT_GT(darkest, 150); // one pixel of fourteen: a light grey line
    EXPECT_EQ(qGray(thumbnail.pixel(5, 85)), 255);
}

TEST(ThumbnailUiTest, SmallPicturesKeepTheirSizeAndOthersFitTheBox)
{
    const QImage small(40, 30, QImage::Format_RGB32);
    EXPECT_EQ(MakeThumbnail(small, QSize(170, 100)).size(), QSize(40, 30));
    QImage wide(1000, 100, QImage::Format_RGB32);
    wide.fill(Qt::blue);
    EXPECT_EQ(MakeThumbnail(wide, QSize(170, 100)).size(), QSize(170, 17));
    EXPECT_TRUE(MakeThumbnail(QImage(), QSize(170, 100)).isNull());
}

TEST(ThumbnailUiTest, ThumbnailsAreMadeOnlyForPagesInSight)
{
    PageList pages;
    std::vector<Page> document;
    for (int i = 0; i < 60; ++i)
        document.push_back(Page(PageWithHairline(i), PageParameters()));
    pages.reset(std::move(document));
    ThumbnailList list(ThumbnailLook::pages());
    PageThumbnailModel model(pages, list.look().thumbnailSize);
    list.setModel(&model);
    list.resize(220, 500);
    list.show();
    list.grab();

    EXPECT_EQ(model.rowCount(), 60);
    EXPECT_GT(model.madeThumbnailCount(), 0);
    EXPECT_LT(model.madeThumbnailCount(), 10);
}

TEST(ThumbnailUiTest, CaptionsStayWithTheirEntriesAndChangedPagesGetNewThumbnails)
{
    PageList pages;
    pages.reset(
        {Page::blank(QSize(100, 140)), Page::blank(QSize(100, 140)), Page::blank(QSize(100, 140))});
    PageThumbnailModel model(pages, QSize(170, 170));
    for (int i = 0; i < 3; ++i)
        model.setCaption(i, PageCaption(i, QStringLiteral("Page")));

    pages.remove(1);
    pages.append(Page::blank(QSize(100, 140)));

    ASSERT_EQ(model.rowCount(), 3);
    EXPECT_EQ(model.caption(0), QStringLiteral("Page 1"));
    EXPECT_EQ(model.caption(1), QStringLiteral("Page 3"));
    EXPECT_TRUE(model.caption(2).isEmpty());

    const QImage before = model.data(model.index(0), Qt::DecorationRole).value<QImage>();
    QImage black(100, 140, QImage::Format_Mono);
    black.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    black.fill(1);
    pages.replaceImage(0, black);
    const QImage after = model.data(model.index(0), Qt::DecorationRole).value<QImage>();
    EXPECT_EQ(qGray(before.pixel(10, 10)), 255);
    EXPECT_EQ(qGray(after.pixel(10, 10)), 0);
}
