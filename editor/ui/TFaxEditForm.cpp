#include "editor/ui/TFaxEditForm.h"

#include "app/core/Prompter.h"
#include "editor/core/FaxImage.h"
#include "editor/core/LayerStack.h"
#include "editor/core/PageList.h"
#include "editor/ui/ColorSwatch.h"
#include "editor/ui/EditorActions.h"
#include "editor/ui/EditorHost.h"
#include "editor/ui/EditorWindowChrome.h"
#include "editor/ui/FaxNumberBox.h"
#include "editor/ui/PageThumbnailModel.h"
#include "editor/ui/PageView.h"
#include "editor/ui/ThumbnailList.h"
#include "i18n/core/LanguageManager.h"
#include "i18n/ui/LanguageController.h"
#include "send/ui/SendFaxCommand.h"
#include "settings/core/TIni.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QSlider>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QTabWidget>

namespace {
constexpr int kTimer1Interval = 100; // ms between checks that the window is on screen

// Colours in the settings are stored as 0x00BBGGRR.
QColor FromColorRef(quint32 value)
{
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF));
}

quint32 ToColorRef(const QColor& colour)
{
    return static_cast<quint32>(colour.red()) | (static_cast<quint32>(colour.green()) << 8) |
           (static_cast<quint32>(colour.blue()) << 16);
}

QString AskSaveFileName(QWidget* parent)
{
    return QFileDialog::getSaveFileName(parent, QString(), QString(),
                                        QStringLiteral("TIFF (*.tif *.tiff);;* (*)"));
}
} // namespace

TFaxEditForm::TFaxEditForm(EditorHost& host, QWidget* parent)
    : QMainWindow(parent), m_host(host), FPages(std::make_unique<PageList>()),
      FSaveFileNameChooser(AskSaveFileName)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("FaxEditForm"));
    // A window of its own (own task-bar entry) even when a parent is given.
    setWindowFlag(Qt::Window, true);

    m_actions = new EditorActions(this);
    m_chrome = new EditorWindowChrome(*this, *m_actions);

    FPageThumbnails = new PageThumbnailModel(*FPages, m_chrome->imvDoc->look().thumbnailSize, this);
    m_chrome->imvDoc->setModel(FPageThumbnails);
    FLayerThumbnails = new QStandardItemModel(this);
    m_chrome->imvLayers->setModel(FLayerThumbnails);
    FStampThumbnails = new QStandardItemModel(this);
    m_chrome->imvStamps->setModel(FStampThumbnails);

    FSendCommand = new SendFaxCommand(*this, LanguageManager::instance().constants(),
                                      m_host.sendProgress(), this);

    connectActions();
    connectControls();

    Timer1.setInterval(kTimer1Interval);
    connect(&Timer1, &QTimer::timeout, this, &TFaxEditForm::Timer1Timer);

    // FormCreate.
    FSent = false;
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        setGeometry(screen->geometry());
    FSavedAspectRatio = action(QStringLiteral("acViewAspectRatio"))->isChecked();
    m_chrome->ImageEnView1->setZoom(m_chrome->TrackBar2->value());
    fillLanguageMenu();
    setBuiltInTexts();
    // Every editor window reads the one section "FaxEditForm" of a language
    // file. The pen width and angle are numbers, not texts.
    new LanguageController(this, QStringLiteral("FaxEditForm"),
                           {QStringLiteral("IdMessage1"), QStringLiteral("Edit2"),
                            QStringLiteral("Edit6"), QStringLiteral("cbFaxNumber")});
}

TFaxEditForm::~TFaxEditForm()
{
    // FormDestroy: the fax image of a sent fax is of no further use.
    if (FSent && !FDocumentFile.isEmpty())
        QFile::remove(FDocumentFile);
}

void TFaxEditForm::setBuiltInTexts()
{
    setWindowTitle(QStringLiteral("Quillon"));
    m_actions->retranslate();
    m_chrome->setBuiltInTexts();
}

TIni& TFaxEditForm::Settings()
{
    return m_host.Settings();
}

void TFaxEditForm::SaveSettings()
{
    m_host.SaveSettings();
}

ThumbnailList* TFaxEditForm::imvDoc() const
{
    return m_chrome->imvDoc;
}

ThumbnailList* TFaxEditForm::imvLayers() const
{
    return m_chrome->imvLayers;
}

ThumbnailList* TFaxEditForm::imvStamps() const
{
    return m_chrome->imvStamps;
}

PageView* TFaxEditForm::ImageEnView1() const
{
    return m_chrome->ImageEnView1;
}

FaxNumberBox* TFaxEditForm::cbFaxNumber() const
{
    return m_chrome->cbFaxNumber;
}

QCheckBox* TFaxEditForm::cbPrintCopy() const
{
    return m_chrome->cbPrintCopy;
}

QAction* TFaxEditForm::action(const QString& name) const
{
    return m_actions->action(name);
}

void TFaxEditForm::setSaveFileNameChooser(FileNameChooser chooser)
{
    FSaveFileNameChooser = std::move(chooser);
}

void TFaxEditForm::connectActions()
{
    connect(action(QStringLiteral("acFileExit")), &QAction::triggered, this, &QWidget::close);
    connect(action(QStringLiteral("acFileSave")), &QAction::triggered, this,
            &TFaxEditForm::acFileSaveExecute);
    connect(action(QStringLiteral("acOperApply")), &QAction::triggered, this,
            &TFaxEditForm::acOperApplyExecute);
    connect(action(QStringLiteral("acSendFax")), &QAction::triggered, this,
            &TFaxEditForm::acSendFaxExecute);
    connect(action(QStringLiteral("acOptions")), &QAction::triggered, this,
            &TFaxEditForm::acOptionsExecute);
    connect(action(QStringLiteral("acViewBestQuality")), &QAction::toggled, this,
            &TFaxEditForm::acViewBestQualityExecute);
    connect(m_chrome->TBItem39, &QAction::triggered, this, &TFaxEditForm::TBItem39Click);
}

void TFaxEditForm::connectControls()
{
    connect(m_chrome->imvDoc, &ThumbnailList::imageSelected, this,
            &TFaxEditForm::imvDocImageSelect);
    connect(m_chrome->layerMenu, &QMenu::aboutToShow, this, &TFaxEditForm::TBPopupMenu1Popup);
    connect(m_chrome->cbPrintCopy, &QCheckBox::toggled, this, &TFaxEditForm::cbPrintCopyClick);
    connect(m_chrome->TrackBar2, &QSlider::valueChanged, this, &TFaxEditForm::TrackBar2Change);
    connect(m_chrome->ImageEnView1, &PageView::zoomChanged, this, &TFaxEditForm::ImageEnView1Zoom);
}

// --- Document lifecycle -----------------------------------------------------

void TFaxEditForm::OpenDocument(const QString& path)
{
    if (!path.isEmpty()) {
        FIntake = DocumentIntake::TakeOver(path);
        m_chrome->cbFaxNumber->setEditText(FIntake.faxNumberText);
        FDocumentFile = FIntake.documentFile;
    } else {
        FDocumentFile.clear();
        FIntake = DocumentIntake::NewDocument();
        FPages->append(DocumentIntake::BlankPage());
        FDocumentFile =
            FIntake.documentFile.isEmpty() ? QStringLiteral("_new_.tif") : FIntake.documentFile;
    }

    // Each editor is a top-level window with its own task-bar entry; it comes
    // to the front and asks for the user's attention.
    show();
    raise();
    activateWindow();
    QApplication::alert(this);
}

void TFaxEditForm::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    FormShow();
}

void TFaxEditForm::FormShow()
{
    // The history is offered as it stands each time the window appears.
    m_chrome->cbFaxNumber->setHistory(Settings().LastFaxNumbers);
    if (FShownOnce)
        return;
    FShownOnce = true;

    m_chrome->pcSelLayer->setCurrentIndex(0);
    m_chrome->cbFaxNumber->setToolTip(m_chrome->lbFaxNumber->toolTip());
    FObjectStyleLock = false;
    fillDrawingDefaults();
    {
        const QSignalBlocker quiet(m_chrome->cbPrintCopy);
        m_chrome->cbPrintCopy->setChecked(Settings().MakeCopyToPrinter);
    }
    Timer1.start();
}

void TFaxEditForm::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        FormActivate();
}

void TFaxEditForm::FormActivate()
{
    if (!FActivatedOnce && !FStartupLoadDone && FPages->isEmpty()) {
        // Until the start-up load the view shows nothing but its grey.
        m_chrome->ImageEnView1->setLayers(LayerStack());
    }
    FActivatedOnce = true;
    UpdateLayerPanel();
    UpdateLayerList();
}

void TFaxEditForm::Timer1Timer()
{
    // The load waits until the window is really on screen; it runs once.
    if (!isVisible())
        return;
    Timer1.stop();
    showMaximized();
    m_chrome->applyDefaultDockSizes();
    // Let the maximised window lay out, so that the page is fitted into the
    // view's final size.
    QCoreApplication::processEvents();
    loadStartupDocument();
    FStartupLoadDone = true;
    emit startupLoadFinished();
}

void TFaxEditForm::loadStartupDocument()
{
    if (FIntake.isNew || FIntake.readFrom.isEmpty()) {
        m_chrome->imvDoc->selectRow(0);
        LoadPage(m_chrome->imvDoc->currentRow());
        return;
    }

    Result<std::vector<Page>> read = DocumentIntake::ReadDocument(FIntake);
    if (!read.ok()) {
        // Nothing of a document that could not be read is shown; the file
        // stays where it is. No page is open, so pages added to this window
        // later load when chosen.
        FCurrentPage = -1;
        m_host.prompter().showError(read.status().text());
        return;
    }
    FPages->reset(std::move(read).value());
    FCurrentPage = -1;
    m_chrome->imvDoc->selectRow(0);
    imvDocImageSelect(0);
    fitPageIntoView();
    FCurrentPage = FPages->isEmpty() ? -1 : 0;
    LabelPages();
    UpdateLayerPanel();
    UpdateLayerList();
}

void TFaxEditForm::fitPageIntoView()
{
    const int fitted = static_cast<int>(m_chrome->ImageEnView1->fitZoom());
    // The track bar limits the zoom to its range and applies it to the view;
    // set the view too in case the position did not change.
    m_chrome->TrackBar2->setValue(fitted);
    m_chrome->ImageEnView1->setZoom(m_chrome->TrackBar2->value());
}

void TFaxEditForm::closeEvent(QCloseEvent* event)
{
    FormClose();
    QMainWindow::closeEvent(event);
}

void TFaxEditForm::FormClose()
{
    // Closing asks nothing: unsent work is dropped. The drawing defaults go
    // back into the settings, to be written with the next save of the file.
    storeDrawingDefaults();
}

void TFaxEditForm::fillDrawingDefaults()
{
    const TIni& settings = Settings();
    m_chrome->Panel3->setColor(FromColorRef(settings.PenColor));
    m_chrome->Panel4->setColor(FromColorRef(settings.BrushColor));
    m_chrome->ComboBox4->setCurrentIndex(settings.PenStyle);
    m_chrome->ComboBox5->setCurrentIndex(settings.BrushStyle);
    FFont = QFont(settings.FontName);
    if (settings.FontSize > 0)
        FFont.setPointSize(settings.FontSize);
}

void TFaxEditForm::storeDrawingDefaults()
{
    TIni& settings = Settings();
    settings.FontName = FFont.family();
    settings.FontSize = FFont.pointSize();
    settings.PenColor = ToColorRef(m_chrome->Panel3->color());
    settings.BrushColor = ToColorRef(m_chrome->Panel4->color());
    settings.PenStyle = m_chrome->ComboBox4->currentIndex();
    settings.BrushStyle = m_chrome->ComboBox5->currentIndex();
}

// --- Language -------------------------------------------------------------------

void TFaxEditForm::fillLanguageMenu()
{
    QMenu& menu = *m_chrome->TBSubmenuItem4;
    auto* group = new QActionGroup(&menu);
    group->setExclusive(true);
    const LanguageManager& languages = LanguageManager::instance();
    for (int i = 0; i < languages.languageCount(); ++i) {
        QAction* item = menu.addAction(languages.languageName(i));
        item->setData(languages.languageId(i));
        item->setCheckable(true);
        item->setChecked(languages.languageId(i) == Settings().LanguageID);
        group->addAction(item);
        connect(item, &QAction::triggered, this, [this, item] { languageItemClick(item); });
    }
    connect(&menu, &QMenu::aboutToShow, this, &TFaxEditForm::TBSubmenuItem4Popup);
}

void TFaxEditForm::languageItemClick(QAction* item)
{
    const int languageId = item->data().toInt();
    if (languageId == 0)
        return;
    LanguageManager& languages = LanguageManager::instance();
    const Status switched = languages.setCurrentLanguage(languageId);
    if (!switched.ok())
        m_host.prompter().showError(switched.text());
    if (Settings().LanguageID != languages.currentLanguage()) {
        Settings().LanguageID = languages.currentLanguage();
        SaveSettings();
    }
    item->setChecked(true);
}

void TFaxEditForm::TBSubmenuItem4Popup()
{
    for (QAction* item : m_chrome->TBSubmenuItem4->actions())
        item->setChecked(item->data().toInt() == Settings().LanguageID);
}

// --- Pages --------------------------------------------------------------------

void TFaxEditForm::imvDocImageSelect(int index)
{
    if (index == FCurrentPage || FPages->isEmpty())
        return;
    if (FCurrentPage != -1 && !ApplyPageChanges(FCurrentPage)) {
        // Cancelled: the old page stays open with its edits, and selected.
        m_chrome->imvDoc->selectRow(FCurrentPage);
        return;
    }
    FCurrentPage = index;
    LoadPage(index);
}

bool TFaxEditForm::ApplyPageChanges(int index)
{
    PageView& view = *m_chrome->ImageEnView1;
    if (!view.layers().hasChanges())
        return true;
    const Prompter::Answer answer = m_host.prompter().ask(
        Prompter::Icon::Question, Prompter::Buttons::YesNoCancel, LangConst("SApplyMessage"));
    if (answer == Prompter::Answer::Cancel)
        return false;
    if (answer == Prompter::Answer::Yes && FPages->isValidIndex(index)) {
        // The page keeps its own pixel format (a 1-bit page stays 1-bit),
        // whichever thumbnail the user has just clicked.
        const Page flattened = view.layers().toPage(FPages->page(index).parameters());
        FPages->replaceImage(index, flattened.image());
    }
    return true;
}

void TFaxEditForm::LoadPage(int index)
{
    PageView& view = *m_chrome->ImageEnView1;
    LayerStack& layers = view.layers();
    layers.setCurrentLayer(0);
    layers.removeUpperLayers();
    layers.clearObjects();
    if (FPages->isValidIndex(index) && m_chrome->imvDoc->currentRow() >= 0) {
        const Page& page = FPages->page(index);
        view.setResolution(page.parameters().dpiX, page.parameters().dpiY);
        // A fresh stack: the page as the only layer, no objects. Annotations
        // stored with the page become objects once objects can be read.
        layers = LayerStack::fromPage(page);
    }
    layers.setChangedMark(false);
    view.refresh();
    UpdateLayerPanel();
    UpdateLayerList();
}

void TFaxEditForm::LabelPages()
{
    const QString pageWord = LangConst("SPage");
    for (int i = 0; i < FPages->count(); ++i)
        FPageThumbnails->setCaption(i, PageCaption(i, pageWord));
}

void TFaxEditForm::TBPopupMenu1Popup()
{
    // Merging needs at least two layers chosen in the layer list.
    action(QStringLiteral("acLayerMerge"))
        ->setEnabled(m_chrome->imvLayers->selectedRows().size() > 1);
}

void TFaxEditForm::UpdateLayerPanel() {}

void TFaxEditForm::UpdateLayerList() {}

// --- Commands -----------------------------------------------------------------

void TFaxEditForm::acOperApplyExecute()
{
    if (FPages->isEmpty())
        return;
    if (ApplyPageChanges(FCurrentPage))
        LoadPage(FCurrentPage);
}

void TFaxEditForm::acFileSaveExecute()
{
    if (FPages->isEmpty())
        return;
    if (!ApplyPageChanges(FCurrentPage))
        return;
    const QString fileName = FSaveFileNameChooser ? FSaveFileNameChooser(this) : QString();
    if (!fileName.isEmpty()) {
        // The document itself keeps its pages as they are; the fax settings
        // shape only what is written.
        std::vector<Page> pages = FPages->pages();
        ApplyFaxImageParameters(pages, {Settings().ChangeOutputDPI, Settings().OutputDPI});
        const Status written = WriteFaxImage(pages, fileName);
        if (!written.ok())
            m_host.prompter().showError(written.text());
    }
    // Also after a cancelled dialog: edits dropped at the question go now.
    LoadPage(FCurrentPage);
}

void TFaxEditForm::acSendFaxExecute()
{
    FSendCommand->acSendFaxExecute();
}

void TFaxEditForm::TBItem39Click()
{
    m_host.ShowAdditionalParameters();
}

// --- SendFaxHost --------------------------------------------------------------

QString TFaxEditForm::faxNumberText() const
{
    return m_chrome->cbFaxNumber->currentText();
}

void TFaxEditForm::focusFaxNumber()
{
    if (m_chrome->cbFaxNumber->isVisible())
        m_chrome->cbFaxNumber->setFocus();
}

int TFaxEditForm::pageCount() const
{
    return FPages->count();
}

bool TFaxEditForm::ApplyPageChanges()
{
    return ApplyPageChanges(FCurrentPage);
}

void TFaxEditForm::hideWindow()
{
    hide();
}

void TFaxEditForm::showWindow()
{
    show();
    raise();
    activateWindow();
}

void TFaxEditForm::closeWindow()
{
    close();
}

TIni& TFaxEditForm::settings()
{
    return m_host.Settings();
}

Prompter& TFaxEditForm::prompter()
{
    return m_host.prompter();
}

AdditionalParameters TFaxEditForm::additionalParameters() const
{
    return m_host.additionalParameters();
}

void TFaxEditForm::acOptionsExecute()
{
    m_host.ShowOptions();
}

void TFaxEditForm::acViewBestQualityExecute(bool checked)
{
    m_chrome->ImageEnView1->setBestQuality(checked);
}

void TFaxEditForm::cbPrintCopyClick(bool checked)
{
    Settings().MakeCopyToPrinter = checked;
}

void TFaxEditForm::TrackBar2Change(int position)
{
    if (!FZoomFollowing)
        m_chrome->ImageEnView1->setZoom(position);
}

void TFaxEditForm::ImageEnView1Zoom(double percent)
{
    FZoomFollowing = true;
    m_chrome->TrackBar2->setValue(static_cast<int>(percent));
    FZoomFollowing = false;
}
