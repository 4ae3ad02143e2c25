#pragma once

#include "editor/core/DocumentIntake.h"
#include "send/ui/SendFaxHost.h"

#include <QFont>
#include <QMainWindow>
#include <QTimer>

#include <functional>
#include <memory>

class EditorActions;
class EditorHost;
class EditorWindowChrome;
class FaxNumberBox;
class PageList;
class PageThumbnailModel;
class PageView;
class QAction;
class QCheckBox;
class QStandardItemModel;
class SendFaxCommand;
class TIni;
class ThumbnailList;

// The editor window: one fax document, its pages as thumbnails, the open page
// in the layered page view, the fax number box and every command of the
// editor. Each document has a window of its own; the window deletes itself
// when closed. The send command works on the window through SendFaxHost.
class TFaxEditForm : public QMainWindow, public SendFaxHost
{
    Q_OBJECT

public:
    // Asks for the name to save the document under; empty for cancel.
    using FileNameChooser = std::function<QString(QWidget* parent)>;

    explicit TFaxEditForm(EditorHost& host, QWidget* parent = nullptr);
    ~TFaxEditForm() override;

    // Takes the document over (an empty path starts an empty document) and
    // shows the window; the pages are read by the start-up load once the
    // window is on screen.
    void OpenDocument(const QString& path);

    TIni& Settings();
    void SaveSettings() override;

    // The document and the page open in the view.
    PageList& pages() override { return *FPages; }
    const PageList& pages() const { return *FPages; }
    int currentPage() const { return FCurrentPage; }
    // The working file, later the fax image the send command writes.
    QString documentFile() const override { return FDocumentFile; }
    void setDocumentFile(const QString& path) override { FDocumentFile = path; }
    bool sent() const { return FSent; }
    // Marks the fax as handed over: the file named by documentFile() is then
    // deleted when the window goes.
    void setSent(bool sent) override { FSent = sent; }

    // SendFaxHost: what the send command reads and does through the window.
    QString faxNumberText() const override;
    void focusFaxNumber() override;
    int pageCount() const override;
    bool ApplyPageChanges() override;
    void hideWindow() override;
    void showWindow() override;
    void closeWindow() override;
    TIni& settings() override;
    Prompter& prompter() override;
    AdditionalParameters additionalParameters() const override;
    SendFaxCommand& sendCommand() { return *FSendCommand; }
    // The start-up load has run (successfully or not).
    bool startupLoadDone() const { return FStartupLoadDone; }

    // Components the other parts of the editor and the send command use.
    ThumbnailList* imvDoc() const;
    ThumbnailList* imvLayers() const;
    ThumbnailList* imvStamps() const;
    PageView* ImageEnView1() const;
    FaxNumberBox* cbFaxNumber() const;
    QCheckBox* cbPrintCopy() const;
    QAction* action(const QString& name) const;
    PageThumbnailModel& pageThumbnails() { return *FPageThumbnails; }

    // Page handling.
    // Runs when the user chooses the thumbnail of page index.
    void imvDocImageSelect(int index);
    // Commits the view into page index after asking; false when cancelled.
    bool ApplyPageChanges(int index);
    using SendFaxHost::ApplyPageChanges;
    // Replaces the view's content with page index.
    void LoadPage(int index);
    // Captions every page thumbnail "Page 1", "Page 2", ...
    void LabelPages();

    // Replaces the save dialog (tests choose the name themselves).
    void setSaveFileNameChooser(FileNameChooser chooser);

signals:
    // The start-up load has finished: the pages are in the list, or the
    // failure has been reported.
    void startupLoadFinished();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // Sets every built-in text of the window, in one place; the window's
    // language controller then shows the language in force over them.
    void setBuiltInTexts();
    void connectActions();
    void connectControls();
    void FormShow();
    void FormActivate();
    void FormClose();
    void Timer1Timer();
    void loadStartupDocument();
    void fitPageIntoView();
    void fillDrawingDefaults();
    void storeDrawingDefaults();

    // The "Language" submenu: one radio item per language offered.
    void fillLanguageMenu();
    void languageItemClick(QAction* item);
    void TBSubmenuItem4Popup();

    void acOperApplyExecute();
    void acFileSaveExecute();
    void acSendFaxExecute();
    void acOptionsExecute();
    void TBItem39Click();
    void acViewBestQualityExecute(bool checked);
    void cbPrintCopyClick(bool checked);
    void TrackBar2Change(int position);
    void ImageEnView1Zoom(double percent);

    // The layer list and the layer property tabs follow the view; they are
    // filled once the layer commands exist.
    void TBPopupMenu1Popup();
    void UpdateLayerPanel();
    void UpdateLayerList();

    EditorHost& m_host;
    std::unique_ptr<PageList> FPages;
    EditorActions* m_actions = nullptr;            // child of the window
    EditorWindowChrome* m_chrome = nullptr;        // child of the window
    PageThumbnailModel* FPageThumbnails = nullptr; // child of the window
    QStandardItemModel* FLayerThumbnails = nullptr;
    QStandardItemModel* FStampThumbnails = nullptr;
    SendFaxCommand* FSendCommand = nullptr; // child of the window
    QTimer Timer1;
    FileNameChooser FSaveFileNameChooser;

    IntakeDocument FIntake;
    int FCurrentPage = 0;
    QString FDocumentFile;
    bool FSent = false;
    bool FSavedAspectRatio = true;
    bool FObjectStyleLock = false;
    // The font new texts get; the font dialog edits it.
    QFont FFont;
    // Set while the zoom track bar follows the view's own zooming.
    bool FZoomFollowing = false;
    bool FShownOnce = false;
    bool FActivatedOnce = false;
    bool FStartupLoadDone = false;
};
