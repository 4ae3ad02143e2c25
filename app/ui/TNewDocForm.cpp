#include "app/ui/TNewDocForm.h"

#include "editor/ui/ThumbnailImage.h"
#include "editor/ui/ThumbnailList.h"
#include "i18n/ui/LanguageController.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QStandardItemModel>

namespace {
constexpr int kThumbnailWidth = 165;
constexpr int kThumbnailHeight = 170;
constexpr int kSideBorder = 6;
// Room for about two and a half entries, so that a longer list shows that it
// scrolls.
constexpr int kListHeight = 480;

ThumbnailLook IntakeLook(bool multiSelect)
{
    return {QSize(kThumbnailWidth, kThumbnailHeight), kSideBorder, multiSelect};
}

QStandardItem* ThumbnailEntry(const Page& page, const QString& caption)
{
    auto item = std::make_unique<QStandardItem>(caption);
    item->setData(MakeThumbnail(page.image(), QSize(kThumbnailWidth, kThumbnailHeight)),
                  Qt::DecorationRole);
    item->setEditable(false);
    return item.release(); // the model takes it
}

QPushButton* ResultButton(QDialog& dialog, const QString& text, const char* name, int result)
{
    auto* button = new QPushButton(text, &dialog);
    button->setObjectName(QString::fromLatin1(name));
    QObject::connect(button, &QPushButton::clicked, &dialog,
                     [&dialog, result] { dialog.done(result); });
    return button;
}
} // namespace

TNewDocForm::TNewDocForm(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("NewDocForm"));
    setWindowTitle(QStringLiteral("Document assignment"));
    // A fixed frame: no resizing, no help button.
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    BuildLayout();
    // Owned by the dialog; keeps its texts in the language in force.
    new LanguageController(this, QStringLiteral("NewDocForm"));
}

TNewDocForm::~TNewDocForm() = default;

void TNewDocForm::BuildLayout()
{
    // The first three letters are Cyrillic: the caption has always been so.
    Label1 = new QLabel(QStringLiteral("\u041E\u0440\u0435n documents: (select one)"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label2 = new QLabel(QStringLiteral("New document: "), this);
    Label2->setObjectName(QStringLiteral("Label2"));

    m_openDocuments = new QStandardItemModel(this);
    imvOpenDocs = new ThumbnailList(IntakeLook(true), this);
    imvOpenDocs->setObjectName(QStringLiteral("imvOpenDocs"));
    imvOpenDocs->setModel(m_openDocuments);
    imvOpenDocs->setFixedHeight(kListHeight);
    connect(imvOpenDocs->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TNewDocForm::UpdateAddButton);
    connect(imvOpenDocs->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &TNewDocForm::UpdateAddButton);

    m_incoming = new QStandardItemModel(this);
    imvDoc = new ThumbnailList(IntakeLook(false), this);
    imvDoc->setObjectName(QStringLiteral("imvDoc"));
    imvDoc->setModel(m_incoming);
    imvDoc->setFixedHeight(kListHeight);

    btAdd = ResultButton(*this, QStringLiteral("Add"), "btAdd", kResultAdd);
    btNew = ResultButton(*this, QStringLiteral("New"), "btNew", kResultNew);
    btCancel = ResultButton(*this, QStringLiteral("Cancel"), "btCancel", kResultCancel);

    auto* buttons = new QDialogButtonBox(Qt::Horizontal, this);
    buttons->addButton(btAdd, QDialogButtonBox::ActionRole);
    buttons->addButton(btNew, QDialogButtonBox::ActionRole);
    buttons->addButton(btCancel, QDialogButtonBox::RejectRole);

    auto* layout = new QGridLayout(this);
    layout->addWidget(Label1, 0, 0);
    layout->addWidget(Label2, 0, 1);
    layout->addWidget(imvOpenDocs, 1, 0);
    layout->addWidget(imvDoc, 1, 1);
    layout->addWidget(buttons, 2, 0, 1, 2);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    UpdateAddButton();
}

void TNewDocForm::AddOpenDocument(const Page& firstPage, const QString& caption, QWidget* editor)
{
    m_openDocuments->appendRow(ThumbnailEntry(firstPage, caption));
    m_editors.append(QPointer<QWidget>(editor));
    imvOpenDocs->selectRow(m_openDocuments->rowCount() - 1);
    UpdateAddButton();
}

int TNewDocForm::openDocumentCount() const
{
    return m_openDocuments->rowCount();
}

int TNewDocForm::ChosenRow() const
{
    const QList<int> selected = imvOpenDocs->selectedRows();
    const int current = imvOpenDocs->currentRow();
    if (selected.contains(current))
        return current;
    return selected.isEmpty() ? -1 : selected.first();
}

QWidget* TNewDocForm::ChosenDocument() const
{
    const int row = ChosenRow();
    if (row < 0 || row >= m_editors.size())
        return nullptr;
    return m_editors.at(row).data();
}

void TNewDocForm::SetIncomingPages(std::vector<Page> pages)
{
    m_incoming->clear();
    for (const Page& page : pages)
        m_incoming->appendRow(ThumbnailEntry(page, QString()));
    m_incomingPages = std::move(pages);
}

void TNewDocForm::ClearLists()
{
    m_openDocuments->clear();
    m_editors.clear();
    m_incoming->clear();
    m_incomingPages.clear();
    UpdateAddButton();
}

int TNewDocForm::Run()
{
    if (m_runner)
        return m_runner(*this);
    return exec();
}

void TNewDocForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TNewDocForm::FormShow()
{
    UpdateAddButton();
    btAdd->setDefault(btAdd->isEnabled());
    btNew->setDefault(!btAdd->isEnabled());
}

void TNewDocForm::UpdateAddButton()
{
    // Pages must never be added to a document that is not there: with no
    // entry selected (the user can deselect one) there is nothing to add to.
    btAdd->setEnabled(ChosenDocument() != nullptr);
}
