// Moving between pages: committing or dropping the view's edits after the
// question, Apply, and which page the list and the view show.
#include "tests/editor/EditorSupportUiTest.h"

#include "editor/core/PageList.h"
#include "editor/ui/PageView.h"
#include "editor/ui/ThumbnailList.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>

using namespace editorui;

namespace {
const QPoint kLayerPosition(100, 300);
const QSize kLayerSize(50, 50);

// An opaque black square over the page: the view counts as changed.
void AddBlackLayer(PageView& view)
{
    Layer layer;
    layer.image = QImage(kLayerSize, QImage::Format_ARGB32);
    layer.image.fill(Qt::black);
    layer.position = kLayerPosition;
    view.layers().addLayer(std::move(layer));
    view.refresh();
}

bool IsBlackAt(const QImage& image, const QPoint& point)
{
    return qGray(image.pixel(point)) < 128;
}

// What the user does to go one thumbnail down in the page list.
void PressDown(ThumbnailList& list)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(&list, &press);
}

const QPoint kInsideLayer = kLayerPosition + QPoint(20, 20);
} // namespace

class EditorPagesUiTest : public EditorWindowTest
{
protected:
    TFaxEditForm& openMixedDocument()
    {
        const QString path = spoolPath(QStringLiteral("pages.tif"));
        WriteTestTiff(path, MixedDocument());
        return openEditor(path);
    }
};

TEST_F(EditorPagesUiTest, ChoosingAnotherPageWithoutEditsAsksNothing)
{
    TFaxEditForm& editor = openMixedDocument();

    PressDown(*editor.imvDoc());

    EXPECT_TRUE(host.prompts.shown().empty());
    EXPECT_EQ(editor.currentPage(), 1);
    EXPECT_EQ(editor.ImageEnView1()->layers().layer(0).image.size(), QSize(300, 420));
    EXPECT_EQ(editor.ImageEnView1()->dpiX(), 150);
}

TEST_F(EditorPagesUiTest, TheAnswerToApplyPageChangeDecidesWhatHappensToTheEdits)
{
    struct Case
    {
        const char* label;
        Prompter::Answer answer;
        int pageOpenAfter;
        int viewLayersAfter;
        bool pageZeroHoldsTheEdit;
    };
    const Case cases[] = {
        {"Cancel keeps the old page open with its edits", Prompter::Answer::Cancel, 0, 2, false},
        {"No drops the edits and opens the other page", Prompter::Answer::No, 1, 1, false},
        {"Yes stores the edits and opens the other page", Prompter::Answer::Yes, 1, 1, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        TFaxEditForm& editor = openMixedDocument();
        AddBlackLayer(*editor.ImageEnView1());
        host.prompts.clear();
        host.prompts.queue(c.answer);

        PressDown(*editor.imvDoc());

        ASSERT_EQ(host.prompts.shown().size(), 1u);
        EXPECT_EQ(host.prompts.shown()[0].text, QStringLiteral("Apply page change?"));
        EXPECT_EQ(host.prompts.shown()[0].buttons, Prompter::Buttons::YesNoCancel);
        EXPECT_EQ(editor.currentPage(), c.pageOpenAfter);
        EXPECT_EQ(editor.imvDoc()->currentRow(), c.pageOpenAfter);
        EXPECT_EQ(editor.imvDoc()->selectedRows(), QList<int>{c.pageOpenAfter});
        EXPECT_EQ(editor.ImageEnView1()->layers().layerCount(), c.viewLayersAfter);
        const QImage& pageZero = editor.pages().page(0).image();
        EXPECT_EQ(pageZero.format(), QImage::Format_Mono);
        EXPECT_EQ(pageZero.size(), QSize(400, 560));
        EXPECT_EQ(IsBlackAt(pageZero, kInsideLayer), c.pageZeroHoldsTheEdit);
        closeEditor();
    }
}

TEST_F(EditorPagesUiTest, ApplyStoresTheEditsInTheOpenPageAndReloadsIt)
{
    TFaxEditForm& editor = openMixedDocument();
    PressDown(*editor.imvDoc());
    PressDown(*editor.imvDoc());
    ASSERT_EQ(editor.currentPage(), 2);
    AddBlackLayer(*editor.ImageEnView1());
    host.prompts.queue(Prompter::Answer::Yes);

    editor.action(QStringLiteral("acOperApply"))->trigger();

    ASSERT_EQ(host.prompts.shown().size(), 1u);
    EXPECT_EQ(editor.currentPage(), 2);
    const PageView& view = *editor.ImageEnView1();
    EXPECT_EQ(view.layers().layerCount(), 1);
    EXPECT_FALSE(view.layers().hasChanges());
    const QImage& stored = editor.pages().page(2).image();
    EXPECT_EQ(stored.format(), QImage::Format_RGB32);
    EXPECT_TRUE(IsBlackAt(stored, kInsideLayer));
    EXPECT_TRUE(IsBlackAt(view.layers().layer(0).image, kInsideLayer));
}

TEST_F(EditorPagesUiTest, ApplyWithNoToTheQuestionRestoresTheStoredPage)
{
    TFaxEditForm& editor = openMixedDocument();
    AddBlackLayer(*editor.ImageEnView1());
    host.prompts.queue(Prompter::Answer::No);

    editor.action(QStringLiteral("acOperApply"))->trigger();

    EXPECT_EQ(editor.ImageEnView1()->layers().layerCount(), 1);
    EXPECT_FALSE(IsBlackAt(editor.ImageEnView1()->layers().layer(0).image, kInsideLayer));
    EXPECT_FALSE(IsBlackAt(editor.pages().page(0).image(), kInsideLayer));
}

TEST_F(EditorPagesUiTest, ApplyWithAnUnchangedViewReloadsWithoutAsking)
{
    TFaxEditForm& editor = openMixedDocument();

    editor.action(QStringLiteral("acOperApply"))->trigger();

    EXPECT_TRUE(host.prompts.shown().empty());
    EXPECT_EQ(editor.currentPage(), 0);
}

TEST_F(EditorPagesUiTest, TheOpenPageAndSelectionsFromProgramCodeRunNoPageChange)
{
    TFaxEditForm& editor = openMixedDocument();
    AddBlackLayer(*editor.ImageEnView1());

    editor.imvDocImageSelect(0);
    editor.imvDoc()->selectRow(3);

    EXPECT_TRUE(host.prompts.shown().empty());
    EXPECT_EQ(editor.currentPage(), 0);
    EXPECT_EQ(editor.ImageEnView1()->layers().layerCount(), 2);
}

TEST_F(EditorPagesUiTest, ABilevelPageStaysBilevelWhenTheNextPageIsInColour)
{
    TFaxEditForm& editor = openMixedDocument();
    AddBlackLayer(*editor.ImageEnView1());
    host.prompts.queue(Prompter::Answer::Yes);

    // From page 1 (1-bit) straight to page 3 (colour).
    editor.imvDoc()->selectRow(2);
    editor.imvDocImageSelect(2);

    EXPECT_EQ(editor.currentPage(), 2);
    EXPECT_EQ(editor.pages().page(0).image().format(), QImage::Format_Mono);
    EXPECT_TRUE(IsBlackAt(editor.pages().page(0).image(), kInsideLayer));
}

TEST_F(EditorPagesUiTest, SaveCommitsTheOpenPageFirstAndCancelSavesNothing)
{
    TFaxEditForm& editor = openMixedDocument();
    AddBlackLayer(*editor.ImageEnView1());
    int asked = 0;
    editor.setSaveFileNameChooser([&](QWidget*) {
        ++asked;
        return userPath(QStringLiteral("out.tif"));
    });

    host.prompts.queue(Prompter::Answer::Cancel);
    editor.action(QStringLiteral("acFileSave"))->trigger();
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(editor.ImageEnView1()->layers().layerCount(), 2);

    host.prompts.queue(Prompter::Answer::Yes);
    editor.action(QStringLiteral("acFileSave"))->trigger();
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(editor.ImageEnView1()->layers().layerCount(), 1);
    EXPECT_TRUE(IsBlackAt(editor.pages().page(0).image(), kInsideLayer));
    EXPECT_TRUE(QFileInfo::exists(userPath(QStringLiteral("out.tif"))));
}
