#pragma once

#include "editor/core/Page.h"

#include <QDialog>
#include <QList>
#include <QPointer>

#include <functional>
#include <vector>

class QLabel;
class QPushButton;
class QStandardItemModel;
class ThumbnailList;

// The intake dialog: a document handed over by a later start arrives, and
// the user adds its pages to one of the open documents or opens it as a new
// one. Created once at start and reused for every intake; its lists are
// emptied after each.
class TNewDocForm : public QDialog
{
    Q_OBJECT

public:
    // The dialog's results, one per button.
    static constexpr int kResultAdd = 6;
    static constexpr int kResultNew = 7;
    static constexpr int kResultCancel = 2;

    // Runs the dialog in place of the modal loop and returns its result, so
    // that tests can play the user.
    using Runner = std::function<int(TNewDocForm& dialog)>;

    explicit TNewDocForm(QWidget* parent = nullptr);
    ~TNewDocForm() override;

    // Lists an open document: a copy of its first page, captioned with its
    // fax number text. The entry just listed becomes the selected one.
    void AddOpenDocument(const Page& firstPage, const QString& caption, QWidget* editor);
    int openDocumentCount() const;
    // The editor window of the chosen entry: the current entry when it is
    // selected, else the first selected one; null when none is selected or
    // that window has gone meanwhile.
    QWidget* ChosenDocument() const;

    // The pages of the incoming document.
    void SetIncomingPages(std::vector<Page> pages);
    const std::vector<Page>& incomingPages() const { return m_incomingPages; }

    // Empties both lists (after every intake).
    void ClearLists();

    // Shows the dialog modally (or hands it to the runner) and returns the
    // result: kResultAdd, kResultNew, or anything else for "drop it".
    int Run();
    void setRunner(Runner runner) { m_runner = std::move(runner); }

    QLabel* Label1 = nullptr;
    ThumbnailList* imvOpenDocs = nullptr;
    QLabel* Label2 = nullptr;
    ThumbnailList* imvDoc = nullptr;
    QPushButton* btAdd = nullptr;
    QPushButton* btNew = nullptr;
    QPushButton* btCancel = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void BuildLayout();
    void FormShow();
    // "Add" only while there is a document to add to.
    void UpdateAddButton();
    int ChosenRow() const;

    QStandardItemModel* m_openDocuments = nullptr; // child of the dialog
    QStandardItemModel* m_incoming = nullptr;      // child of the dialog
    QList<QPointer<QWidget>> m_editors;
    std::vector<Page> m_incomingPages;
    Runner m_runner;
};
