#pragma once

#include <QObject>

class ColorSwatch;
class EditorActions;
class FaxNumberBox;
class PageView;
class QAction;
class QCheckBox;
class QComboBox;
class QDockWidget;
class QLabel;
class QMainWindow;
class QMenu;
class QMenuBar;
class QSlider;
class QSpinBox;
class QTabWidget;
class QToolBar;
class ThumbnailList;

// Everything around the page of an editor window: the docks with their
// toolbars and tool windows at their default places, the main menu, the
// context menus, the controls inside the tool windows and the status bar.
// Object names are the component names the rest of the program (and the
// saved toolbar layout) knows them by. All texts are set in one place,
// setBuiltInTexts(); the window's language controller shows translations
// over them.
class EditorWindowChrome : public QObject
{
    Q_OBJECT

public:
    EditorWindowChrome(QMainWindow& window, EditorActions& actions);

    // Sets every caption, hint and list entry of the chrome (not the
    // actions', which EditorActions sets).
    void setBuiltInTexts();
    // Gives the side docks their default sizes; takes effect once the window
    // has its size.
    void applyDefaultDockSizes();

    // Toolbars and tool windows.
    QToolBar* TBToolbar1 = nullptr;       // "Main menu"
    QToolBar* TBToolbar2 = nullptr;       // "File"
    QToolBar* TBToolWindow4 = nullptr;    // "Fax Send"
    QToolBar* TBToolWindow3 = nullptr;    // "Zoom"
    QToolBar* TBToolbar5 = nullptr;       // "Font"
    QToolBar* TBToolbar4 = nullptr;       // "Selections & Objects"
    QToolBar* TBToolWindow6 = nullptr;    // "Color & Style"
    QDockWidget* TBToolWindow5 = nullptr; // "Stamps"
    QDockWidget* TBToolWindow1 = nullptr; // "Preview"
    QDockWidget* TBToolWindow2 = nullptr; // "Layers"

    // Central view and lists.
    PageView* ImageEnView1 = nullptr;
    ThumbnailList* imvDoc = nullptr;
    ThumbnailList* imvLayers = nullptr;
    ThumbnailList* imvStamps = nullptr;
    QTabWidget* pcSelLayer = nullptr;

    // "Fax Send".
    QLabel* lbFaxNumber = nullptr;
    FaxNumberBox* cbFaxNumber = nullptr;
    QCheckBox* cbPrintCopy = nullptr;
    QAction* TBItem39 = nullptr; // "..." : additional parameters

    // "Zoom".
    QLabel* lbZoom = nullptr;
    QSlider* TrackBar2 = nullptr;

    // "Color & Style".
    ColorSwatch* Panel3 = nullptr;  // pen colour
    ColorSwatch* Panel4 = nullptr;  // brush colour
    QComboBox* ComboBox4 = nullptr; // pen style
    QSpinBox* Edit2 = nullptr;      // pen width (with its arrows, UpDown2)
    QComboBox* ComboBox5 = nullptr; // brush style

    // Menus.
    QMenuBar* mainMenu = nullptr;
    QMenu* menuFile = nullptr;
    QMenu* menuView = nullptr;
    QMenu* menuToolbars = nullptr;
    QMenu* menuOperations = nullptr;
    QMenu* menuOptions = nullptr;
    QMenu* TBSubmenuItem4 = nullptr; // "Language", filled by the language handling
    QMenu* menuHelp = nullptr;
    QMenu* layerMenu = nullptr;
    QMenu* pageMenu = nullptr;
    QMenu* stampMenu = nullptr;
    QMenu* viewMenu = nullptr;

    // Status bar panels.
    QLabel* sbMainPanel0 = nullptr;
    QLabel* sbMainPanel1 = nullptr;

    // Zoom track bar range and default.
    static constexpr int kZoomMin = 5;
    static constexpr int kZoomMax = 500;
    static constexpr int kZoomTickInterval = 25;
    static constexpr int kZoomInitial = 25;

private:
    void createCentralView();
    void createToolbars();
    void createFaxSendWindow();
    void createZoomWindow();
    void createColorStyleWindow();
    void createDocks();
    void createMainMenu();
    void createContextMenus();
    void createStatusBar();

    QToolBar* addToolBar(const char* name, Qt::ToolBarAreas allowed);
    QDockWidget* addDock(const char* name, QWidget* content, Qt::DockWidgetArea area);
    QLabel* addLabel(QToolBar* bar, const char* name);

    QMainWindow& m_window;
    EditorActions& m_actions;
};
