// What the editor window consists of: its actions, toolbars and tool windows,
// menus and context menus, and how it looks once a document is open.
#include "tests/editor/EditorSupportUiTest.h"

#include "editor/ui/EditorActionTable.h"
#include "editor/ui/PageView.h"
#include "editor/ui/ThumbnailList.h"
#include "i18n/core/LanguageManager.h"

#include <QAction>
#include <QDockWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QSlider>
#include <QStandardItemModel>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>

using namespace editorui;

namespace {
QStringList TextsOf(const QList<QAction*>& actions)
{
    QStringList texts;
    for (const QAction* action : actions)
        texts << (action->isSeparator() ? QStringLiteral("-") : action->objectName());
    return texts;
}

// A 1-bit A4 page with lines of text, as a fax printer delivers a letter.
QImage LetterPage()
{
    QImage canvas(1664, 2338, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    QPainter painter(&canvas);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(34);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(140, 220, QStringLiteral("Quillon Fax Services Ltd."));
    font.setPixelSize(26);
    painter.setFont(font);
    for (int line = 0; line < 50; ++line)
        painter.drawText(
            140, 340 + line * 38,
            QStringLiteral("Line %1: the quick brown fox jumps over the lazy dog.").arg(line + 1));
    painter.drawRect(100, 150, 1464, 2050);
    painter.end();
    return canvas.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither);
}

QMenu* MenuTitled(const QMenuBar& bar, const QString& title)
{
    for (QAction* action : bar.actions())
        if (action->menu() && action->text() == title)
            return action->menu();
    return nullptr;
}
} // namespace

class EditorWindowUiTest : public EditorWindowTest
{
};

TEST_F(EditorWindowUiTest, ActionsCarryTheirTextsShortcutsAndStates)
{
    TFaxEditForm& editor = openEditor(QString());
    struct Case
    {
        const char* name;
        const char* caption;
        const char* hint;
        const char* shortcut;
        bool checkable;
        bool checked;
        bool visible;
    };
    const Case cases[] = {
        {"acFileOpen", "&Open", "Open document or add layer", "", false, false, true},
        {"acOperDel", "Delete", "Delete page(s), layer(s), stamp or object(s)", "Del", false, false,
         true},
        {"acOperSelectAll", "Select all", "", "Ctrl+A", false, false, true},
        {"acLayerMerge", "Merge selected Layers", "Merge selected Layers", "Ctrl+M", false, false,
         true},
        {"acLayerUp", "Up Layer", "Bring Layer to front", "", false, false, true},
        {"acSelLayers", "Select Layers", "", "", true, true, true},
        {"acSelObjects", "Sele\u0441t object", "Sele\u0441t object", "", true, false, true},
        {"acSelPolygon", "Selelct Polygon", "Selelct Polygon", "", false, false, true},
        {"acPutMemo", "Put Memo", "Put Memo", "", false, false, false},
        {"acViewAlphaChannel", "Alpha Channel", "", "", true, true, true},
        {"acViewBestQuality", "Best Quality", "", "", true, false, true},
        {"acSendFax", "Send Fax", "Send fax", "", false, false, true},
        {"acHelp", "Help", "", "F1", false, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QAction* action = editor.action(QString::fromLatin1(c.name));
        ASSERT_NE(action, nullptr);
        EXPECT_EQ(action->text(), QString::fromUtf8(c.caption));
        EXPECT_EQ(action->statusTip(), QString::fromUtf8(c.hint));
        EXPECT_EQ(action->shortcut(), QKeySequence(QString::fromLatin1(c.shortcut)));
        EXPECT_EQ(action->isCheckable(), c.checkable);
        EXPECT_EQ(action->isChecked(), c.checked);
        EXPECT_EQ(action->isVisible(), c.visible);
    }
    EXPECT_EQ(EditorActionTable().size(), 41u);
    EXPECT_EQ(editor.action(QStringLiteral("acSelObjects"))->text().at(4), QChar(0x0441));
    EXPECT_EQ(editor.action(QStringLiteral("acSendFax"))->property("category").toString(),
              QStringLiteral("Faxs"));
    EXPECT_TRUE(
        editor.action(QStringLiteral("acOptions"))->property("category").toString().isEmpty());
}

TEST_F(EditorWindowUiTest, ToolbarsAndToolWindowsSitAtTheirDefaultPlaces)
{
    TFaxEditForm& editor = openEditor(QString());
    struct Case
    {
        const char* name;
        const char* title;
        Qt::ToolBarArea area;
    };
    const Case bars[] = {
        {"TBToolbar1", "Main menu", Qt::TopToolBarArea},
        {"TBToolbar2", "File", Qt::TopToolBarArea},
        {"TBToolWindow4", "Fax Send", Qt::TopToolBarArea},
        {"TBToolWindow3", "Zoom", Qt::TopToolBarArea},
        {"TBToolbar5", "Font", Qt::TopToolBarArea},
        {"TBToolbar4", "Selections & Objects", Qt::TopToolBarArea},
        {"TBToolWindow6", "Color & Style", Qt::TopToolBarArea},
    };
    for (const Case& c : bars) {
        SCOPED_TRACE(c.name);
        auto* bar = editor.findChild<QToolBar*>(QString::fromLatin1(c.name));
        ASSERT_NE(bar, nullptr);
        EXPECT_EQ(bar->windowTitle(), QString::fromUtf8(c.title));
        EXPECT_EQ(editor.toolBarArea(bar), c.area);
        EXPECT_TRUE(bar->isVisible());
    }
    // Rows: main menu alone, then File..Font, then Selections..Color.
    auto bar = [&](const char* name) {
        return editor.findChild<QToolBar*>(QString::fromLatin1(name));
    };
    EXPECT_TRUE(editor.toolBarBreak(bar("TBToolbar2")));
    EXPECT_TRUE(editor.toolBarBreak(bar("TBToolbar4")));
    EXPECT_FALSE(editor.toolBarBreak(bar("TBToolWindow4")));
    EXPECT_EQ(bar("TBToolWindow4")->allowedAreas(), Qt::AllToolBarAreas);
    EXPECT_EQ(bar("TBToolbar2")->allowedAreas(), Qt::TopToolBarArea | Qt::BottomToolBarArea);

    const struct
    {
        const char* name;
        const char* title;
        Qt::DockWidgetArea area;
        const char* list;
    } docks[] = {
        {"TBToolWindow5", "Stamps", Qt::LeftDockWidgetArea, "imvStamps"},
        {"TBToolWindow1", "Preview", Qt::LeftDockWidgetArea, "imvDoc"},
        {"TBToolWindow2", "Layers", Qt::RightDockWidgetArea, "imvLayers"},
    };
    for (const auto& d : docks) {
        SCOPED_TRACE(d.name);
        auto* dock = editor.findChild<QDockWidget*>(QString::fromLatin1(d.name));
        ASSERT_NE(dock, nullptr);
        EXPECT_EQ(dock->windowTitle(), QString::fromLatin1(d.title));
        EXPECT_EQ(editor.dockWidgetArea(dock), d.area);
        EXPECT_NE(dock->findChild<ThumbnailList*>(QString::fromLatin1(d.list)), nullptr);
    }
    auto* stamps = editor.findChild<QDockWidget*>(QStringLiteral("TBToolWindow5"));
    auto* preview = editor.findChild<QDockWidget*>(QStringLiteral("TBToolWindow1"));
    EXPECT_LT(stamps->geometry().top(), preview->geometry().top());

    auto* tabs = editor.findChild<QTabWidget*>(QStringLiteral("pcSelLayer"));
    ASSERT_NE(tabs, nullptr);
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_EQ(tabs->tabText(0), QStringLiteral("General"));
    ASSERT_NE(editor.findChild<QStatusBar*>(QStringLiteral("sbMain")), nullptr);
}

TEST_F(EditorWindowUiTest, MenusAndContextMenusHoldTheirCommandsInOrder)
{
    TFaxEditForm& editor = openEditor(QString());
    auto* bar = editor.findChild<QMenuBar*>();
    ASSERT_NE(bar, nullptr);
    QStringList titles;
    for (QAction* action : bar->actions())
        titles << action->text();
    EXPECT_EQ(titles, QStringList({"&File", "&View", "O&perations", "&Options", "&Help"}));

    EXPECT_EQ(TextsOf(MenuTitled(*bar, "&File")->actions()),
              QStringList({"acFileOpen", "acFileSave", "acPrint", "-", "acFileExit"}));
    EXPECT_EQ(
        TextsOf(MenuTitled(*bar, "O&perations")->actions()),
        QStringList({"acOperUndo", "acOperCut", "acOperCopy", "acOperPaste", "-", "acOperDel"}));
    EXPECT_EQ(TextsOf(MenuTitled(*bar, "&Help")->actions()),
              QStringList({"acHelp", "-", "acAbout"}));

    auto* toolbars = editor.findChild<QMenu*>(QStringLiteral("menuToolbars"));
    ASSERT_NE(toolbars, nullptr);
    EXPECT_EQ(toolbars->menuAction()->statusTip(), QStringLiteral("Toolbars show\\hide"));
    QStringList toggles;
    for (QAction* toggle : toolbars->actions())
        toggles << toggle->text();
    EXPECT_EQ(toggles, QStringList({"File", "Fax Send", "Zoom", "Selections & Objects",
                                    "Color & Style", "Font", "Stamps", "Preview", "Layers"}));

    EXPECT_EQ(
        TextsOf(editor.findChild<QMenu*>(QStringLiteral("TBPopupMenu1"))->actions()),
        QStringList({"acLayerAdd", "acLayerIns", "acOperDel", "acLayersLoad", "acLayersSaveAsStamp",
                     "-", "acLayerUp", "acLayerDown", "-", "acLayerMerge", "acLayerRotate"}));
    EXPECT_EQ(
        TextsOf(editor.findChild<QMenu*>(QStringLiteral("viewMenu"))->actions()),
        QStringList({"acOperCut", "acOperCopy", "acOperPaste", "-", "acOperDel", "acLayerRotate"}));
    EXPECT_EQ(TextsOf(editor.findChild<QMenu*>(QStringLiteral("stampMenu"))->actions()),
              QStringList({"acFileAddStamps", "-", "acOperDel"}));
}

TEST_F(EditorWindowUiTest, ThumbnailListsShareOneLookAndDifferInSizeAndSelection)
{
    TFaxEditForm& editor = openEditor(QString());
    struct Case
    {
        ThumbnailList* list;
        QSize thumbnail;
        int sideBorder;
        QAbstractItemView::SelectionMode selection;
    };
    const Case cases[] = {
        {editor.imvDoc(), {170, 170}, 6, QAbstractItemView::SingleSelection},
        {editor.imvLayers(), {100, 100}, 18, QAbstractItemView::ExtendedSelection},
        {editor.imvStamps(), {170, 100}, 6, QAbstractItemView::ExtendedSelection},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.list->objectName().toStdString());
        EXPECT_EQ(c.list->look().thumbnailSize, c.thumbnail);
        EXPECT_EQ(c.list->look().sideBorder, c.sideBorder);
        EXPECT_EQ(c.list->selectionMode(), c.selection);
        EXPECT_EQ(c.list->palette().color(QPalette::Base), QColor(Qt::gray));
    }
    EXPECT_EQ(editor.imvLayers()->model()->rowCount(), 0);
    EXPECT_EQ(editor.imvStamps()->model()->rowCount(), 0);
}

TEST_F(EditorWindowUiTest, OptionsGoToTheHostAndExitClosesTheWindow)
{
    TFaxEditForm& editor = openEditor(QString());

    editor.action(QStringLiteral("acOptions"))->trigger();
    EXPECT_EQ(host.optionsShown, 1);

    editor.action(QStringLiteral("acFileExit"))->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(form.isNull());
    EXPECT_TRUE(host.prompts.shown().empty());
}

TEST_F(EditorWindowUiTest, ZoomTrackBarAndViewFollowEachOther)
{
    TFaxEditForm& editor = openEditor(QString());
    auto* zoom = editor.findChild<QSlider*>(QStringLiteral("TrackBar2"));
    ASSERT_NE(zoom, nullptr);
    EXPECT_EQ(zoom->minimum(), 5);
    EXPECT_EQ(zoom->maximum(), 500);
    EXPECT_EQ(zoom->tickInterval(), 25);

    zoom->setValue(150);
    EXPECT_DOUBLE_EQ(editor.ImageEnView1()->zoom(), 150.0);

    editor.ImageEnView1()->setZoom(800);
    EXPECT_DOUBLE_EQ(editor.ImageEnView1()->zoom(), 500.0);
    EXPECT_EQ(zoom->value(), 500);

    editor.ImageEnView1()->setZoom(3);
    EXPECT_DOUBLE_EQ(editor.ImageEnView1()->zoom(), 5.0);
    EXPECT_EQ(zoom->value(), 5);
}

TEST_F(EditorWindowUiTest, ScreenshotOfAnOpenDocument)
{
    const QString path = spoolPath(QStringLiteral("scan.tif"));
    std::vector<TiffTestPage> pages = MixedDocument();
    pages.insert(pages.begin(), {LetterPage(), COMPRESSION_CCITTFAX4, 200});
    WriteTestTiff(path, pages);
    TFaxEditForm& editor = openEditor(path);
    // The size of a common desktop rather than the small offscreen screen.
    editor.showNormal();
    editor.resize(1600, 1000);
    QCoreApplication::processEvents();

    const QImage shot = editor.grab().toImage();
    const QString shotPath = QStringLiteral("/tmp/editorui-window.png");
    ASSERT_TRUE(shot.save(shotPath));
    EXPECT_EQ(shot.size(), editor.size() * editor.devicePixelRatio());
}

TEST_F(EditorWindowUiTest, LanguageMenuOffersEveryLanguageAndPickingTheOneInForceWritesNothing)
{
    host.settings.LanguageID = LanguageManager::kBuiltInLanguage;
    TFaxEditForm& editor = openEditor(QString());
    auto* menu = editor.findChild<QMenu*>(QStringLiteral("TBSubmenuItem4"));
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->title(), QStringLiteral("Language"));
    const LanguageManager& languages = LanguageManager::instance();
    ASSERT_EQ(menu->actions().size(), languages.languageCount());
    QAction* builtIn = menu->actions().at(0);
    EXPECT_EQ(builtIn->data().toInt(), LanguageManager::kBuiltInLanguage);
    EXPECT_TRUE(builtIn->isChecked());

    builtIn->trigger();

    EXPECT_EQ(host.settingsSaves, 0);
    EXPECT_TRUE(builtIn->isChecked());
}

TEST_F(EditorWindowUiTest, LayerMenuOffersMergeOnlyWithTwoLayersChosen)
{
    TFaxEditForm& editor = openEditor(QString());
    auto* menu = editor.findChild<QMenu*>(QStringLiteral("TBPopupMenu1"));
    ASSERT_NE(menu, nullptr);
    QAction* merge = editor.action(QStringLiteral("acLayerMerge"));

    emit menu->aboutToShow();
    EXPECT_FALSE(merge->isEnabled());

    auto* layers = qobject_cast<QStandardItemModel*>(editor.imvLayers()->model());
    ASSERT_NE(layers, nullptr);
    layers->appendRow(new QStandardItem(QStringLiteral("Layer 0")));
    layers->appendRow(new QStandardItem(QStringLiteral("Layer 1")));
    editor.imvLayers()->selectAll();
    emit menu->aboutToShow();
    EXPECT_TRUE(merge->isEnabled());
}
