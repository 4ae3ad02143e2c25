#include "editor/ui/EditorWindowChrome.h"

#include "editor/ui/ColorSwatch.h"
#include "editor/ui/EditorActions.h"
#include "editor/ui/FaxNumberBox.h"
#include "editor/ui/PageView.h"
#include "editor/ui/ThumbnailList.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDockWidget>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSlider>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
// The texts of the chrome by object name: caption (title, label text) and
// hint. Toggle entries of the "Toolbars" menu follow the window titles.
struct ChromeText
{
    const char* name;
    const char* caption;
    const char* hint;
};

const ChromeText kTexts[] = {
    {"TBToolbar1", "Main menu", ""},
    {"TBToolbar2", "File", ""},
    {"TBToolWindow4", "Fax Send", ""},
    {"TBToolWindow3", "Zoom", ""},
    {"TBToolbar5", "Font", ""},
    {"TBToolbar4", "Selections & Objects", ""},
    {"TBToolWindow6", "Color & Style", ""},
    {"TBToolWindow5", "Stamps", ""},
    {"TBToolWindow1", "Preview", ""},
    {"TBToolWindow2", "Layers", ""},
    {"TBItem39", "...", ""},
    {"lbFaxNumber", "Phone number: ", "Enter phone number as:\n123456 (My Favorite Client)"},
    {"cbFaxNumber", "", "Phone number"},
    {"cbPrintCopy", "", "Make copy to printer"},
    {"lbZoom", "Zoom: ", ""},
    {"lbPenColor", "Pen color:", ""},
    {"Panel3", "", "Pen color"},
    {"lbBrushColor", "Brush color:", ""},
    {"Panel4", "", "Brush color"},
    {"lbPenStyle", "Pen style:", ""},
    {"ComboBox4", "", "Pen style"},
    {"lbPenWidth", "Pen Width:", ""},
    {"Edit2", "", "Pen Width"},
    {"lbBrushStyle", "Brush style:", ""},
    {"ComboBox5", "", "Brush style"},
    {"menuFile", "&File", ""},
    {"menuView", "&View", ""},
    {"menuToolbars", "Toolbars", "Toolbars show\\hide"},
    {"menuOperations", "O&perations", ""},
    {"menuOptions", "&Options", ""},
    {"TBSubmenuItem4", "Language", ""},
    {"menuHelp", "&Help", ""},
};

// Tabs of the layer and object properties, in order.
const char* const kPropertyTabs[] = {"General", "Effects", "Magnify layer", "Line", "Font"};

// Entries of the style lists; the settings keep the list position.
const char* const kPenStyles[] = {"Solid",      "Dash",  "Dot",        "DashDot",
                                  "DashDotDot", "Clear", "InsideFrame"};
const char* const kBrushStyles[] = {"Solid", "Clear",     "BDiagonal",  "FDiagonal",
                                    "Cross", "DiagCross", "Horizontal", "Vertical"};

// Default sizes of the tool windows' client areas.
constexpr QSize kFaxSendClient(408, 23);
constexpr QSize kFaxSendMinimum(140, 23);
constexpr QSize kZoomClient(190, 23);
constexpr QSize kStampsClient(213, 126);
constexpr QSize kPreviewClient(213, 214);
constexpr QSize kLayersClient(166, 350);
constexpr int kStatusPanelWidth = 50;

void SetCaption(QObject* object, const QString& caption)
{
    if (auto* menu = qobject_cast<QMenu*>(object))
        menu->setTitle(caption);
    else if (auto* label = qobject_cast<QLabel*>(object))
        label->setText(caption);
    else if (auto* button = qobject_cast<QAbstractButton*>(object))
        button->setText(caption);
    else if (auto* action = qobject_cast<QAction*>(object)) {
        action->setText(caption);
        // A button would drop a trailing "..." from the text it shows.
        action->setIconText(caption);
    } else if (auto* widget = qobject_cast<QWidget*>(object))
        widget->setWindowTitle(caption);
}

void SetHint(QObject* object, const QString& hint)
{
    if (auto* menu = qobject_cast<QMenu*>(object)) {
        menu->menuAction()->setToolTip(hint);
        menu->menuAction()->setStatusTip(hint);
    } else if (auto* action = qobject_cast<QAction*>(object)) {
        action->setToolTip(hint);
    } else if (auto* widget = qobject_cast<QWidget*>(object)) {
        widget->setToolTip(hint);
    }
}

void FillList(QComboBox* list, const char* const* entries, size_t count)
{
    const int kept = list->currentIndex();
    const QSignalBlocker quiet(list);
    list->clear();
    for (size_t i = 0; i < count; ++i)
        list->addItem(QString::fromLatin1(entries[i]));
    list->setCurrentIndex(kept);
}

template <typename T> T* Named(T* object, const char* name)
{
    object->setObjectName(QString::fromLatin1(name));
    return object;
}
} // namespace

EditorWindowChrome::EditorWindowChrome(QMainWindow& window, EditorActions& actions)
    : QObject(&window), m_window(window), m_actions(actions)
{
    createCentralView();
    createToolbars();
    createDocks();
    createMainMenu();
    createContextMenus();
    createStatusBar();
    setBuiltInTexts();
}

void EditorWindowChrome::setBuiltInTexts()
{
    for (const ChromeText& text : kTexts) {
        QObject* object = m_window.findChild<QObject*>(QString::fromLatin1(text.name));
        if (!object)
            continue;
        if (*text.caption)
            SetCaption(object, QString::fromUtf8(text.caption));
        if (*text.hint)
            SetHint(object, QString::fromUtf8(text.hint));
    }
    for (int i = 0; i < pcSelLayer->count(); ++i)
        pcSelLayer->setTabText(i, QString::fromLatin1(kPropertyTabs[i]));
    FillList(ComboBox4, kPenStyles, std::size(kPenStyles));
    FillList(ComboBox5, kBrushStyles, std::size(kBrushStyles));
}

void EditorWindowChrome::createCentralView()
{
    auto* panel = Named(new QWidget(&m_window), "Panel1");
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    ImageEnView1 = Named(new PageView(panel), "ImageEnView1");
    layout->addWidget(ImageEnView1);
    m_window.setCentralWidget(panel);
}

QToolBar* EditorWindowChrome::addToolBar(const char* name, Qt::ToolBarAreas allowed)
{
    auto* bar = Named(new QToolBar(&m_window), name);
    bar->setAllowedAreas(allowed);
    m_window.addToolBar(Qt::TopToolBarArea, bar);
    return bar;
}

QLabel* EditorWindowChrome::addLabel(QToolBar* bar, const char* name)
{
    auto* label = Named(new QLabel(bar), name);
    bar->addWidget(label);
    return label;
}

void EditorWindowChrome::createToolbars()
{
    const Qt::ToolBarAreas topOrBottom = Qt::TopToolBarArea | Qt::BottomToolBarArea;

    // Row 0: the main menu, stretched over the whole width.
    TBToolbar1 = addToolBar("TBToolbar1", topOrBottom);
    mainMenu = Named(new QMenuBar(TBToolbar1), "mainMenu");
    mainMenu->setNativeMenuBar(false);
    mainMenu->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    TBToolbar1->addWidget(mainMenu);
    // The menu bar cannot be hidden: without it no command could show it again.
    TBToolbar1->toggleViewAction()->setVisible(false);
    m_window.addToolBarBreak(Qt::TopToolBarArea);

    // Row 1: File, Fax Send, Zoom, Font.
    TBToolbar2 = addToolBar("TBToolbar2", topOrBottom);
    TBToolbar2->addAction(m_actions.action("acFileOpen"));
    TBToolbar2->addAction(m_actions.action("acFileSave"));
    TBToolbar2->addAction(m_actions.action("acPrint"));
    createFaxSendWindow();
    createZoomWindow();
    TBToolbar5 = addToolBar("TBToolbar5", topOrBottom);
    TBToolbar5->addAction(m_actions.action("acFontSel"));
    TBToolbar5->addAction(m_actions.action("acFontStretch"));
    m_window.addToolBarBreak(Qt::TopToolBarArea);

    // Row 2: Selections & Objects, Color & Style.
    TBToolbar4 = addToolBar("TBToolbar4", topOrBottom);
    TBToolbar4->addAction(m_actions.action("acSelLayers"));
    TBToolbar4->addSeparator();
    TBToolbar4->addAction(m_actions.action("acSelObjects"));
    TBToolbar4->addAction(m_actions.action("acSelRectangle"));
    TBToolbar4->addAction(m_actions.action("acSelPolygon"));
    TBToolbar4->addSeparator();
    // Put Memo stays hidden with its action, wherever its buttons sit.
    TBToolbar4->addAction(m_actions.action("acPutMemo"));
    TBToolbar4->addAction(m_actions.action("acPutBox"));
    TBToolbar4->addAction(m_actions.action("acPutEllipse"));
    TBToolbar4->addAction(m_actions.action("acPutText"));
    TBToolbar4->addAction(m_actions.action("acPutPolyline"));
    createColorStyleWindow();
}

void EditorWindowChrome::createFaxSendWindow()
{
    TBToolWindow4 = addToolBar("TBToolWindow4", Qt::AllToolBarAreas);
    TBToolWindow4->setMinimumSize(kFaxSendMinimum);
    lbFaxNumber = addLabel(TBToolWindow4, "lbFaxNumber");
    cbFaxNumber = Named(new FaxNumberBox(TBToolWindow4), "cbFaxNumber");
    cbFaxNumber->setMinimumWidth(kFaxSendClient.width() / 2);
    cbFaxNumber->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    TBToolWindow4->addWidget(cbFaxNumber);
    cbPrintCopy = Named(new QCheckBox(TBToolWindow4), "cbPrintCopy");
    TBToolWindow4->addWidget(cbPrintCopy);

    // The "Send Fax" group: the send button with image and text, and "..."
    // for the additional parameters.
    TBToolWindow4->addSeparator();
    QAction* send = m_actions.action("acSendFax");
    TBToolWindow4->addAction(send);
    if (auto* button = qobject_cast<QToolButton*>(TBToolWindow4->widgetForAction(send)))
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    TBItem39 = Named(new QAction(&m_window), "TBItem39");
    TBToolWindow4->addAction(TBItem39);
}

void EditorWindowChrome::createZoomWindow()
{
    TBToolWindow3 = addToolBar("TBToolWindow3", Qt::TopToolBarArea | Qt::BottomToolBarArea);
    lbZoom = addLabel(TBToolWindow3, "lbZoom");
    TrackBar2 = Named(new QSlider(Qt::Horizontal, TBToolWindow3), "TrackBar2");
    TrackBar2->setRange(kZoomMin, kZoomMax);
    TrackBar2->setTickInterval(kZoomTickInterval);
    TrackBar2->setTickPosition(QSlider::TicksAbove);
    TrackBar2->setValue(kZoomInitial);
    TrackBar2->setFixedWidth(kZoomClient.width() - lbZoom->sizeHint().width());
    TBToolWindow3->addWidget(TrackBar2);
}

void EditorWindowChrome::createColorStyleWindow()
{
    TBToolWindow6 = addToolBar("TBToolWindow6", Qt::TopToolBarArea | Qt::BottomToolBarArea);
    addLabel(TBToolWindow6, "lbPenColor");
    Panel3 = Named(new ColorSwatch(TBToolWindow6), "Panel3");
    TBToolWindow6->addWidget(Panel3);
    addLabel(TBToolWindow6, "lbBrushColor");
    Panel4 = Named(new ColorSwatch(TBToolWindow6), "Panel4");
    TBToolWindow6->addWidget(Panel4);
    addLabel(TBToolWindow6, "lbPenStyle");
    ComboBox4 = Named(new QComboBox(TBToolWindow6), "ComboBox4");
    TBToolWindow6->addWidget(ComboBox4);
    addLabel(TBToolWindow6, "lbPenWidth");
    Edit2 = Named(new QSpinBox(TBToolWindow6), "Edit2");
    Edit2->setMinimum(1);
    Edit2->setValue(1);
    TBToolWindow6->addWidget(Edit2);
    addLabel(TBToolWindow6, "lbBrushStyle");
    ComboBox5 = Named(new QComboBox(TBToolWindow6), "ComboBox5");
    TBToolWindow6->addWidget(ComboBox5);
}

QDockWidget* EditorWindowChrome::addDock(const char* name, QWidget* content,
                                         Qt::DockWidgetArea area)
{
    auto* dock = Named(new QDockWidget(&m_window), name);
    dock->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    dock->setWidget(content);
    m_window.addDockWidget(area, dock);
    return dock;
}

void EditorWindowChrome::createDocks()
{
    imvStamps = Named(new ThumbnailList(ThumbnailLook::stamps()), "imvStamps");
    TBToolWindow5 = addDock("TBToolWindow5", imvStamps, Qt::LeftDockWidgetArea);

    imvDoc = Named(new ThumbnailList(ThumbnailLook::pages()), "imvDoc");
    TBToolWindow1 = addDock("TBToolWindow1", imvDoc, Qt::LeftDockWidgetArea);
    m_window.splitDockWidget(TBToolWindow5, TBToolWindow1, Qt::Vertical);

    auto* layersPanel = Named(new QWidget, "Panel2");
    auto* layout = new QVBoxLayout(layersPanel);
    layout->setContentsMargins(0, 0, 0, 0);
    imvLayers = Named(new ThumbnailList(ThumbnailLook::layers(), layersPanel), "imvLayers");
    layout->addWidget(imvLayers, 1);
    pcSelLayer = Named(new QTabWidget(layersPanel), "pcSelLayer");
    for (const char* tab : kPropertyTabs)
        pcSelLayer->addTab(new QWidget(pcSelLayer), QString::fromLatin1(tab));
    layout->addWidget(pcSelLayer);
    TBToolWindow2 = addDock("TBToolWindow2", layersPanel, Qt::RightDockWidgetArea);
}

void EditorWindowChrome::applyDefaultDockSizes()
{
    // Only the proportions of the side docks can be set; the page view takes
    // the rest. The stamps sit small above the larger page list.
    m_window.resizeDocks({TBToolWindow5, TBToolWindow1},
                         {kStampsClient.height(), kPreviewClient.height()}, Qt::Vertical);
    m_window.resizeDocks({TBToolWindow1, TBToolWindow2},
                         {kPreviewClient.width(), kLayersClient.width()}, Qt::Horizontal);
}

void EditorWindowChrome::createMainMenu()
{
    menuFile = Named(mainMenu->addMenu(QString()), "menuFile");
    menuFile->addAction(m_actions.action("acFileOpen"));
    menuFile->addAction(m_actions.action("acFileSave"));
    menuFile->addAction(m_actions.action("acPrint"));
    menuFile->addSeparator();
    menuFile->addAction(m_actions.action("acFileExit"));

    menuView = Named(mainMenu->addMenu(QString()), "menuView");
    menuView->addAction(m_actions.action("acViewShowLayersBox"));
    menuView->addAction(m_actions.action("acViewBestQuality"));
    menuView->addAction(m_actions.action("acViewAlphaChannel"));
    menuView->addAction(m_actions.action("acViewAspectRatio"));
    menuToolbars = Named(menuView->addMenu(QString()), "menuToolbars");
    for (QToolBar* bar :
         {TBToolbar2, TBToolWindow4, TBToolWindow3, TBToolbar4, TBToolWindow6, TBToolbar5})
        menuToolbars->addAction(bar->toggleViewAction());
    for (QDockWidget* dock : {TBToolWindow5, TBToolWindow1, TBToolWindow2})
        menuToolbars->addAction(dock->toggleViewAction());

    menuOperations = Named(mainMenu->addMenu(QString()), "menuOperations");
    menuOperations->addAction(m_actions.action("acOperUndo"));
    menuOperations->addAction(m_actions.action("acOperCut"));
    menuOperations->addAction(m_actions.action("acOperCopy"));
    menuOperations->addAction(m_actions.action("acOperPaste"));
    menuOperations->addSeparator();
    menuOperations->addAction(m_actions.action("acOperDel"));

    menuOptions = Named(mainMenu->addMenu(QString()), "menuOptions");
    menuOptions->addAction(m_actions.action("acOptions"));
    TBSubmenuItem4 = Named(menuOptions->addMenu(QString()), "TBSubmenuItem4");

    menuHelp = Named(mainMenu->addMenu(QString()), "menuHelp");
    menuHelp->addAction(m_actions.action("acHelp"));
    menuHelp->addSeparator();
    menuHelp->addAction(m_actions.action("acAbout"));
}

void EditorWindowChrome::createContextMenus()
{
    layerMenu = Named(new QMenu(&m_window), "TBPopupMenu1");
    layerMenu->addAction(m_actions.action("acLayerAdd"));
    layerMenu->addAction(m_actions.action("acLayerIns"));
    layerMenu->addAction(m_actions.action("acOperDel"));
    layerMenu->addAction(m_actions.action("acLayersLoad"));
    layerMenu->addAction(m_actions.action("acLayersSaveAsStamp"));
    layerMenu->addSeparator();
    layerMenu->addAction(m_actions.action("acLayerUp"));
    layerMenu->addAction(m_actions.action("acLayerDown"));
    layerMenu->addSeparator();
    layerMenu->addAction(m_actions.action("acLayerMerge"));
    layerMenu->addAction(m_actions.action("acLayerRotate"));
    imvLayers->setContextMenu(layerMenu);

    pageMenu = Named(new QMenu(&m_window), "pageMenu");
    pageMenu->addAction(m_actions.action("acOperDel"));
    imvDoc->setContextMenu(pageMenu);

    stampMenu = Named(new QMenu(&m_window), "stampMenu");
    stampMenu->addAction(m_actions.action("acFileAddStamps"));
    stampMenu->addSeparator();
    stampMenu->addAction(m_actions.action("acOperDel"));
    imvStamps->setContextMenu(stampMenu);

    viewMenu = Named(new QMenu(&m_window), "viewMenu");
    viewMenu->addAction(m_actions.action("acOperCut"));
    viewMenu->addAction(m_actions.action("acOperCopy"));
    viewMenu->addAction(m_actions.action("acOperPaste"));
    viewMenu->addSeparator();
    viewMenu->addAction(m_actions.action("acOperDel"));
    viewMenu->addAction(m_actions.action("acLayerRotate"));
    ImageEnView1->setContextMenu(viewMenu);
}

void EditorWindowChrome::createStatusBar()
{
    auto* bar = Named(new QStatusBar(&m_window), "sbMain");
    sbMainPanel0 = Named(new QLabel(bar), "sbMainPanel0");
    sbMainPanel0->setMinimumWidth(kStatusPanelWidth);
    sbMainPanel1 = Named(new QLabel(bar), "sbMainPanel1");
    sbMainPanel1->setMinimumWidth(kStatusPanelWidth);
    bar->addWidget(sbMainPanel0);
    bar->addWidget(sbMainPanel1, 1);
    m_window.setStatusBar(bar);
}
