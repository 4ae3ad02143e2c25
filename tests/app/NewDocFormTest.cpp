#include "app/ui/TNewDocForm.h"
#include "editor/ui/ThumbnailList.h"
#include "i18n/ui/LanguageController.h"

#include <QAbstractItemModel>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

namespace {
Page SmallPage()
{
    return Page::blank(QSize(100, 140));
}

// Plays the user: looks at the dialog while it is shown, then presses a button.
TNewDocForm::Runner Press(QPushButton* TNewDocForm::*button, bool* addWasEnabled = nullptr)
{
    return [button, addWasEnabled](TNewDocForm& dialog) {
        dialog.show();
        if (addWasEnabled)
            *addWasEnabled = dialog.btAdd->isEnabled();
        (dialog.*button)->click();
        const int result = dialog.isVisible() ? -1 : dialog.result();
        dialog.hide();
        return result;
    };
}

TEST(NewDocForm, NamesAndTexts)
{
    TNewDocForm dialog;
    EXPECT_EQ(dialog.objectName(), QStringLiteral("NewDocForm"));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Document assignment"));
    const QString label1 = dialog.Label1->text();
    EXPECT_EQ(label1.mid(3), QStringLiteral("n documents: (select one)"));
    EXPECT_EQ(label1.left(3), QString::fromUtf8("\xD0\x9E\xD1\x80\xD0\xB5")); // Оре, Cyrillic
    EXPECT_EQ(dialog.Label2->text(), QStringLiteral("New document: "));
    EXPECT_EQ(dialog.btAdd->text(), QStringLiteral("Add"));
    EXPECT_EQ(dialog.btNew->text(), QStringLiteral("New"));
    EXPECT_EQ(dialog.btCancel->text(), QStringLiteral("Cancel"));
    const LanguageController* language = LanguageController::of(&dialog);
    ASSERT_NE(language, nullptr);
    EXPECT_EQ(language->section(), QStringLiteral("NewDocForm"));
}

struct ButtonCase
{
    const char* name;
    int openDocuments;
    QPushButton* TNewDocForm::*button;
    int result;
    bool addEnabled;
};

TEST(NewDocForm, ButtonsGiveTheirResults)
{
    const std::vector<ButtonCase> table{
        {"AddWithDocuments", 2, &TNewDocForm::btAdd, TNewDocForm::kResultAdd, true},
        {"NewWithDocuments", 2, &TNewDocForm::btNew, TNewDocForm::kResultNew, true},
        {"CancelWithDocuments", 1, &TNewDocForm::btCancel, TNewDocForm::kResultCancel, true},
        // With no open document "Add" cannot be pressed: the dialog stays.
        {"AddWithoutDocuments", 0, &TNewDocForm::btAdd, -1, false},
        {"NewWithoutDocuments", 0, &TNewDocForm::btNew, TNewDocForm::kResultNew, false},
        {"CancelWithoutDocuments", 0, &TNewDocForm::btCancel, TNewDocForm::kResultCancel, false},
    };
    for (const ButtonCase& row : table) {
        TNewDocForm dialog;
        std::vector<std::unique_ptr<QWidget>> editors;
        for (int i = 0; i < row.openDocuments; ++i) {
            editors.push_back(std::make_unique<QWidget>());
            dialog.AddOpenDocument(SmallPage(), QStringLiteral("doc %1").arg(i),
                                   editors.back().get());
        }
        dialog.SetIncomingPages({SmallPage(), SmallPage()});
        bool addEnabled = false;
        dialog.setRunner(Press(row.button, &addEnabled));
        EXPECT_EQ(dialog.Run(), row.result) << row.name;
        EXPECT_EQ(addEnabled, row.addEnabled) << row.name;
    }
}

TEST(NewDocForm, LastListedDocumentIsChosenWithItsCaption)
{
    TNewDocForm dialog;
    QWidget first;
    QWidget second;
    dialog.AddOpenDocument(SmallPage(), QStringLiteral("123 (first)"), &first);
    dialog.AddOpenDocument(SmallPage(), QStringLiteral("456 (second)"), &second);
    ASSERT_EQ(dialog.openDocumentCount(), 2);
    EXPECT_EQ(dialog.ChosenDocument(), &second);
    const QAbstractItemModel* model = dialog.imvOpenDocs->model();
    EXPECT_EQ(model->index(0, 0).data(Qt::DisplayRole).toString(), QStringLiteral("123 (first)"));
    EXPECT_FALSE(model->index(1, 0).data(Qt::DecorationRole).isNull());

    dialog.imvOpenDocs->selectRow(0);
    EXPECT_EQ(dialog.ChosenDocument(), &first);
}

TEST(NewDocForm, AddIsDisabledWhileNoDocumentIsSelected)
{
    TNewDocForm dialog;
    QWidget editor;
    dialog.AddOpenDocument(SmallPage(), QStringLiteral("1"), &editor);
    dialog.show();
    EXPECT_TRUE(dialog.btAdd->isEnabled());

    dialog.imvOpenDocs->selectionModel()->clearSelection();
    EXPECT_FALSE(dialog.btAdd->isEnabled());
    EXPECT_EQ(dialog.ChosenDocument(), nullptr);
    dialog.btAdd->click();
    EXPECT_TRUE(dialog.isVisible());

    dialog.imvOpenDocs->selectRow(0);
    EXPECT_TRUE(dialog.btAdd->isEnabled());
    dialog.hide();
}

TEST(NewDocForm, DocumentWhoseWindowHasGoneCannotBeChosen)
{
    TNewDocForm dialog;
    auto editor = std::make_unique<QWidget>();
    dialog.AddOpenDocument(SmallPage(), QStringLiteral("1"), editor.get());
    editor.reset();
    EXPECT_EQ(dialog.ChosenDocument(), nullptr);
    dialog.show();
    EXPECT_FALSE(dialog.btAdd->isEnabled());
    dialog.hide();
}

TEST(NewDocForm, ClearListsEmptiesBoth)
{
    TNewDocForm dialog;
    QWidget editor;
    dialog.AddOpenDocument(SmallPage(), QStringLiteral("1"), &editor);
    dialog.SetIncomingPages({SmallPage(), SmallPage(), SmallPage()});
    EXPECT_EQ(dialog.imvDoc->model()->rowCount(), 3);
    dialog.ClearLists();
    EXPECT_EQ(dialog.openDocumentCount(), 0);
    EXPECT_EQ(dialog.imvDoc->model()->rowCount(), 0);
    EXPECT_TRUE(dialog.incomingPages().empty());
    EXPECT_FALSE(dialog.btAdd->isEnabled());
}

TEST(NewDocForm, RunsModallyWithoutARunner)
{
    TNewDocForm dialog;
    QTimer::singleShot(0, &dialog, [&dialog] { dialog.btNew->click(); });
    EXPECT_EQ(dialog.Run(), TNewDocForm::kResultNew);
}
} // namespace
