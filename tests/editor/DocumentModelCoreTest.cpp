#include "editor/core/LayerStack.h"
#include "editor/core/PageList.h"
#include "tests/editor/TiffFilesCoreTest.h"

#include <QPainter>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

// A filled rectangle, standing in for the drawn objects.
class BoxObject : public VectorObject
{
public:
    BoxObject(QRectF rect, QColor colour) : m_rect(rect), m_colour(colour) {}
    QRectF bounds() const override { return m_rect; }
    void paint(QPainter& painter) const override { painter.fillRect(m_rect, m_colour); }
    std::unique_ptr<VectorObject> clone() const override
    {
        return std::make_unique<BoxObject>(*this);
    }

private:
    QRectF m_rect;
    QColor m_colour;
};

Page pageOfWidth(int width)
{
    return Page::blank(QSize(width, 10));
}

Layer solidLayer(QPoint position, QSize size, QColor colour)
{
    Layer layer;
    layer.image = QImage(size, QImage::Format_ARGB32);
    layer.image.fill(colour);
    layer.position = position;
    return layer;
}

Page whitePage(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    PageParameters parameters;
    DescribePixelFormat(image, parameters);
    return Page(image, parameters);
}

} // namespace

TEST(PageListTest, ChangesAreAnnouncedWithTheirIndexes)
{
    PageList list;
    QSignalSpy inserted(&list, &PageList::pagesInserted);
    QSignalSpy removed(&list, &PageList::pageRemoved);
    QSignalSpy moved(&list, &PageList::pagesMoved);
    QSignalSpy changed(&list, &PageList::pageChanged);
    QSignalSpy reset(&list, &PageList::pagesReset);

    list.append(pageOfWidth(1));
    list.append(std::vector<Page>{pageOfWidth(2), pageOfWidth(3)});
    list.insert(0, pageOfWidth(4));
    EXPECT_EQ(inserted.size(), 3);
    EXPECT_EQ(inserted.at(1), (QVariantList{1, 2}));
    EXPECT_EQ(inserted.at(2), (QVariantList{0, 1}));
    EXPECT_EQ(list.count(), 4);

    EXPECT_TRUE(list.move(0, 3)); // 1 2 3 4
    EXPECT_EQ(moved.at(0), (QVariantList{0, 3}));
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(list.page(i).width(), i + 1);

    EXPECT_TRUE(list.remove(1)); // 1 3 4
    EXPECT_EQ(removed.at(0), QVariantList{1});
    EXPECT_TRUE(list.replaceImage(2, QImage(7, 7, QImage::Format_RGB32)));
    EXPECT_EQ(changed.at(0), QVariantList{2});
    EXPECT_EQ(list.page(2).parameters().samplesPerPixel, 3);

    // Indexes outside the list change nothing and announce nothing.
    EXPECT_FALSE(list.remove(3));
    EXPECT_FALSE(list.move(0, 3));
    EXPECT_FALSE(list.replace(-1, pageOfWidth(9)));
    EXPECT_EQ(removed.size(), 1);
    EXPECT_EQ(changed.size(), 1);

    list.clear();
    EXPECT_TRUE(list.isEmpty());
    EXPECT_EQ(reset.size(), 1);
}

TEST(PageListTest, CaptionsCountFromOne)
{
    EXPECT_EQ(PageCaption(0, QStringLiteral("Page")), QStringLiteral("Page 1"));
    EXPECT_EQ(PageCaption(2, QStringLiteral("Seite")), QStringLiteral("Seite 3"));
}

TEST(LayerStackTest, LoadedPageIsOneLockedLayerWithoutChanges)
{
    const Page page(tifffiles::bilevelPattern(50, 40), {});
    const LayerStack stack = LayerStack::fromPage(page);
    ASSERT_EQ(stack.layerCount(), 1);
    EXPECT_EQ(stack.layer(0).image.format(), QImage::Format_ARGB32);
    EXPECT_TRUE(stack.layer(0).locked);
    EXPECT_FALSE(stack.layer(0).visibleBox);
    EXPECT_FALSE(stack.hasChanges());
}

TEST(LayerStackTest, ChangedMeansLayersObjectsOrTheMark)
{
    const Page page(tifffiles::bilevelPattern(50, 40), {});
    struct Case
    {
        const char* name;
        void (*edit)(LayerStack&);
        bool changed;
    };
    const Case cases[] = {
        {"nothing", [](LayerStack&) {}, false},
        {"background pixels only", [](LayerStack& s) { s.layer(0).image.fill(Qt::red); }, false},
        {"extra layer", [](LayerStack& s) { s.addLayer(solidLayer({}, QSize(5, 5), Qt::red)); },
         true},
        {"object",
         [](LayerStack& s) {
             s.addObject(std::make_unique<BoxObject>(QRectF(1, 1, 2, 2), Qt::red));
         },
         true},
        {"mark", [](LayerStack& s) { s.setChangedMark(true); }, true},
    };
    for (const Case& c : cases) {
        LayerStack stack = LayerStack::fromPage(page);
        c.edit(stack);
        EXPECT_EQ(stack.hasChanges(), c.changed) << c.name;
    }
}

TEST(LayerStackTest, FlattenCoversEveryLayerAndFillsTheRestGrey)
{
    LayerStack stack = LayerStack::fromPage(whitePage(100, 50));
    stack.addLayer(solidLayer(QPoint(-10, -5), QSize(20, 10), Qt::red));
    stack.addLayer(solidLayer(QPoint(90, 40), QSize(30, 30), Qt::blue));
    Layer cropped = solidLayer(QPoint(95, 45), QSize(100, 100), Qt::green);
    cropped.cropped = true;
    stack.addLayer(cropped);
    Layer hidden = solidLayer(QPoint(40, 20), QSize(20, 20), Qt::black);
    hidden.visible = false;
    stack.addLayer(hidden);

    const QImage flat = stack.Flatten();

    // From x -10 to 120 and y -5 to 70; the cropped layer adds nothing, the
    // hidden one is not drawn.
    ASSERT_EQ(flat.size(), QSize(130, 75));
    EXPECT_EQ(flat.pixel(0, 0), QColor(Qt::red).rgb());
    EXPECT_EQ(flat.pixel(10 + 50, 5 + 25), QColor(Qt::white).rgb());
    EXPECT_EQ(flat.pixel(10 + 110, 5 + 65), QColor(Qt::blue).rgb());
    EXPECT_EQ(flat.pixel(0, 74), LayerStack::backgroundColor().rgb());
    // The cropped layer shows inside the background only.
    EXPECT_EQ(flat.pixel(10 + 97, 5 + 47), QColor(Qt::green).rgb());
    EXPECT_EQ(flat.pixel(10 + 97, 5 + 60), QColor(Qt::blue).rgb());
}

TEST(LayerStackTest, TransparencyAndObjectsAreDrawn)
{
    LayerStack stack = LayerStack::fromPage(whitePage(40, 40));
    Layer half = solidLayer(QPoint(0, 0), QSize(20, 40), Qt::black);
    half.transparency = 127;
    stack.addLayer(half);
    stack.addObject(std::make_unique<BoxObject>(QRectF(30, 30, 5, 5), Qt::blue));

    const LayerStack copy = stack; // copies carry their own objects
    const QImage flat = copy.Flatten();

    EXPECT_NEAR(qGray(flat.pixel(5, 5)), 128, 2);
    EXPECT_EQ(flat.pixel(32, 32), QColor(Qt::blue).rgb());
    EXPECT_EQ(flat.pixel(25, 5), QColor(Qt::white).rgb());
}

TEST(LayerStackTest, MaskCutsTheLayerBelowIt)
{
    LayerStack stack = LayerStack::fromPage(whitePage(40, 40));
    stack.addLayer(solidLayer(QPoint(0, 0), QSize(20, 20), Qt::red));
    Layer mask = solidLayer(QPoint(0, 0), QSize(10, 20), Qt::white);
    mask.image.fill(Qt::white);
    for (int y = 0; y < 20; ++y) {
        for (int x = 5; x < 10; ++x)
            mask.image.setPixel(x, y, qRgb(0, 0, 0));
    }
    mask.mask = true;
    mask.visible = false;
    stack.addLayer(mask);

    const QImage flat = stack.Flatten();

    EXPECT_EQ(flat.pixel(2, 2), QColor(Qt::red).rgb());    // under white
    EXPECT_EQ(flat.pixel(7, 2), QColor(Qt::white).rgb());  // under black
    EXPECT_EQ(flat.pixel(15, 2), QColor(Qt::white).rgb()); // outside the mask
}

TEST(LayerStackTest, MagnifierEnlargesWhatLiesUnderIt)
{
    Page page = whitePage(40, 40);
    QImage image = page.image();
    for (int y = 10; y < 12; ++y) {
        for (int x = 10; x < 12; ++x)
            image.setPixel(x, y, qRgb(0, 0, 0));
    }
    page.setImage(image);
    for (const int source : {Layer::MagnifyBackground, Layer::MagnifyCanvas}) {
        LayerStack stack = LayerStack::fromPage(page);
        Layer magnifier = solidLayer(QPoint(0, 0), QSize(40, 40), Qt::green);
        magnifier.magnify = true;
        magnifier.magnifySource = source;
        stack.addLayer(magnifier);

        const QImage flat = stack.Flatten();

        // The middle 20 by 20 pixels fill the layer: the dot at 10,10 now
        // covers 0,0 to 3,3.
        EXPECT_LT(qGray(flat.pixel(1, 1)), 64) << source;
        EXPECT_EQ(flat.pixel(8, 8), QColor(Qt::white).rgb()) << source;
    }
}

TEST(LayerStackTest, OperationsCombineWithWhatIsBelow)
{
    LayerStack stack = LayerStack::fromPage(whitePage(10, 10));
    Layer darken = solidLayer(QPoint(0, 0), QSize(10, 10), QColor(200, 50, 200));
    darken.operation = 9; // "MIN (Darken)"
    stack.addLayer(darken);
    Layer lighten = solidLayer(QPoint(0, 0), QSize(5, 10), QColor(100, 100, 100));
    lighten.operation = 8; // "MAX (Lighten)"
    stack.addLayer(lighten);

    const QImage flat = stack.Flatten();

    EXPECT_EQ(flat.pixel(7, 5), qRgb(200, 50, 200));
    EXPECT_EQ(flat.pixel(2, 5), qRgb(200, 100, 200));
}

TEST(LayerStackTest, CommittedPageKeepsItsPixelFormat)
{
    struct Case
    {
        const char* name;
        QImage image;
    };
    const Case cases[] = {{"bilevel", tifffiles::bilevelPattern(120, 90)},
                          {"grey", tifffiles::greyPattern(60, 40)},
                          {"palette", tifffiles::palettePattern(60, 40)},
                          {"colour", tifffiles::colourPattern(60, 40)}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PageParameters parameters;
        parameters.dpiX = 204;
        parameters.dpiY = 98;
        DescribePixelFormat(c.image, parameters);
        const Page page(c.image, parameters);

        // Unchanged, the round trip gives the same pixels back.
        const Page same = LayerStack::fromPage(page).toPage(page.parameters());
        EXPECT_EQ(same.image().format(), c.image.format());
        EXPECT_TRUE(tifffiles::samePixels(same.image(), c.image));
        EXPECT_EQ(same.parameters(), parameters);

        // With a black box layer the box is in the page, still in its format.
        LayerStack stack = LayerStack::fromPage(page);
        stack.addLayer(solidLayer(QPoint(10, 10), QSize(8, 8), Qt::black));
        const Page edited = stack.toPage(page.parameters());
        EXPECT_EQ(edited.image().format(), c.image.format());
        EXPECT_EQ(edited.image().size(), c.image.size());
        EXPECT_EQ(qGray(edited.image().pixel(12, 12)), 0);
        if (c.image.format() == QImage::Format_Indexed8) {
            EXPECT_EQ(edited.image().colorTable(), c.image.colorTable());
        }
    }
}

TEST(LayerStackTest, BilevelPageStaysBilevelInMemory)
{
    const Page page = Page::blank(QSize(2480, 3508));
    EXPECT_EQ(page.image().format(), QImage::Format_Mono);
    EXPECT_LT(page.imageBytes(), 1'100'000);
}

TEST(LayerStackTest, ConvertingToParametersWithoutAPage)
{
    const QImage colour = tifffiles::colourPattern(30, 20);
    PageParameters bilevel;
    EXPECT_EQ(ConvertToPixelFormat(colour, bilevel).format(), QImage::Format_Mono);
    PageParameters grey;
    grey.bitsPerSample = 8;
    grey.photometric = PageParameters::kPhotometricMinIsBlack;
    EXPECT_EQ(ConvertToPixelFormat(colour, grey).format(), QImage::Format_Grayscale8);
    PageParameters rgb;
    rgb.bitsPerSample = 8;
    rgb.samplesPerPixel = 3;
    EXPECT_EQ(ConvertToPixelFormat(colour, rgb).format(), QImage::Format_RGB32);
}

TEST(LayerStackTest, MergingLayersOneAndThreeOfFour)
{
    LayerStack stack = LayerStack::fromPage(whitePage(40, 40));
    stack.addLayer(solidLayer(QPoint(5, 5), QSize(10, 10), Qt::red));
    stack.addLayer(solidLayer(QPoint(30, 30), QSize(5, 5), Qt::green));
    Layer blue = solidLayer(QPoint(20, 0), QSize(10, 10), Qt::blue);
    blue.locked = true;
    stack.addLayer(blue);

    ASSERT_TRUE(stack.mergeLayers(1, 3));

    ASSERT_EQ(stack.layerCount(), 3);
    EXPECT_EQ(stack.currentLayer(), 1);
    const Layer& merged = stack.layer(1);
    EXPECT_EQ(merged.rect(), QRect(5, 0, 25, 15));
    EXPECT_FALSE(merged.locked);
    EXPECT_EQ(merged.image.pixel(1, 6), QColor(Qt::red).rgb());
    EXPECT_EQ(merged.image.pixel(20, 5), QColor(Qt::blue).rgb());
    EXPECT_EQ(qAlpha(merged.image.pixel(13, 12)), 0);
    EXPECT_EQ(stack.layer(2).image.pixel(0, 0), QColor(Qt::green).rgb());

    // Into the background: the background keeps its own area.
    ASSERT_TRUE(stack.mergeLayers(0, 1));
    EXPECT_EQ(stack.layer(0).rect(), QRect(0, 0, 40, 40));
    EXPECT_EQ(stack.layer(0).image.pixel(6, 6), QColor(Qt::red).rgb());
    EXPECT_FALSE(stack.mergeLayers(1, 1));
}

TEST(LayerStackTest, LayerOrderAndRemoval)
{
    LayerStack stack = LayerStack::fromPage(whitePage(10, 10));
    stack.addLayer(solidLayer({}, QSize(1, 1), Qt::red));
    stack.addLayer(solidLayer({}, QSize(2, 2), Qt::green));
    EXPECT_EQ(stack.currentLayer(), 2);
    EXPECT_TRUE(stack.moveLayer(2, 1));
    EXPECT_EQ(stack.currentLayer(), 1);
    EXPECT_EQ(stack.layer(1).image.width(), 2);
    EXPECT_FALSE(stack.moveLayer(0, 3));
    EXPECT_TRUE(stack.insertLayer(0, solidLayer({}, QSize(3, 3), Qt::blue)));
    EXPECT_EQ(stack.layer(0).image.width(), 3);
    EXPECT_TRUE(stack.removeLayer(0));
    stack.removeUpperLayers();
    EXPECT_EQ(stack.layerCount(), 1);
    EXPECT_FALSE(stack.removeLayer(0));
}
