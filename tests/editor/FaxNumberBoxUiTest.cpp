// The fax number box: length limits on typing and on other changes, the
// history drop-down and the hints.
#include "tests/editor/EditorSupportUiTest.h"

#include "editor/ui/FaxNumberBox.h"
#include "send/core/FaxNumber.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

using namespace editorui;

namespace {
QString Digits(int count)
{
    QString text;
    for (int i = 0; i < count; ++i)
        text += QChar(u'0' + i % 10);
    return text;
}

enum class Caret { AtEnd, AtStart };

void Press(QLineEdit& edit, Qt::Key key, const QString& text)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(&edit, &press);
}
} // namespace

TEST(FaxNumberBoxUiTest, TypingStopsOnceTheTextIsLongerThanSixty)
{
    struct Case
    {
        const char* label;
        int lengthBefore;
        Qt::Key key;
        const char* text;
        Caret caret;
        int lengthAfter;
    };
    const Case cases[] = {
        {"the 61st character is accepted", 60, Qt::Key_X, "x", Caret::AtEnd, 61},
        {"a 62nd character is discarded", 61, Qt::Key_X, "x", Caret::AtEnd, 61},
        {"Backspace counts as typed and is discarded", 61, Qt::Key_Backspace, "\b", Caret::AtEnd,
         61},
        {"Delete is no typed character and still works", 61, Qt::Key_Delete, "", Caret::AtStart,
         60},
        {"Backspace works below the limit", 60, Qt::Key_Backspace, "\b", Caret::AtEnd, 59},
        {"a short number takes more digits", 5, Qt::Key_7, "7", Caret::AtEnd, 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        FaxNumberBox box;
        box.setEditText(Digits(c.lengthBefore));
        QLineEdit& edit = *box.lineEdit();
        if (c.caret == Caret::AtEnd)
            edit.end(false);
        else
            edit.home(false);

        Press(edit, c.key, QString::fromLatin1(c.text));

        EXPECT_EQ(box.currentText().length(), c.lengthAfter);
    }
}

TEST(FaxNumberBoxUiTest, OtherChangesLongerThanSixtyOneAreCutToSixty)
{
    struct Case
    {
        const char* label;
        int length;
        int lengthAfter;
    };
    const Case cases[] = {
        {"61 characters stay", 61, 61},
        {"62 characters are cut", 62, 60},
        {"a paste of 80 leaves the first 60", 80, 60},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        FaxNumberBox pasted;
        pasted.lineEdit()->insert(Digits(c.length));
        EXPECT_EQ(pasted.currentText(), Digits(c.lengthAfter));

        FaxNumberBox chosen;
        chosen.setHistory({Digits(c.length)});
        chosen.setCurrentIndex(0);
        EXPECT_EQ(chosen.currentText(), Digits(c.lengthAfter));
    }
    EXPECT_EQ(kMaxFaxNumberTyped, 60);
    EXPECT_EQ(kMaxFaxNumberText, 61);
}

TEST(FaxNumberBoxUiTest, HistoryFillsTheListWithoutCompletingOrAddingEntries)
{
    FaxNumberBox box;
    box.setEditText(QStringLiteral("(invoice)"));

    box.setHistory({QStringLiteral("123 (Bob)"), QStringLiteral("456")});

    EXPECT_EQ(box.count(), 2);
    EXPECT_EQ(box.itemText(0), QStringLiteral("123 (Bob)"));
    EXPECT_EQ(box.currentText(), QStringLiteral("(invoice)"));
    EXPECT_EQ(box.completer(), nullptr);
    EXPECT_EQ(box.insertPolicy(), QComboBox::NoInsert);
}

class FaxNumberBoxInWindowUiTest : public EditorWindowTest
{
};

TEST_F(FaxNumberBoxInWindowUiTest, WindowOffersTheHistoryAndTheTwoLineHint)
{
    host.settings.LastFaxNumbers = {QStringLiteral("555 (Ann)"), QStringLiteral("777")};
    host.settings.MakeCopyToPrinter = true;

    TFaxEditForm& editor = openEditor(QString());

    const FaxNumberBox& box = *editor.cbFaxNumber();
    EXPECT_EQ(box.count(), 2);
    EXPECT_EQ(box.itemText(1), QStringLiteral("777"));
    EXPECT_EQ(box.toolTip(), QStringLiteral("Enter phone number as:\n123456 (My Favorite Client)"));
    const auto* label = editor.findChild<QLabel*>(QStringLiteral("lbFaxNumber"));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), QStringLiteral("Phone number: "));
    EXPECT_TRUE(editor.cbPrintCopy()->isChecked());
    EXPECT_EQ(editor.cbPrintCopy()->toolTip(), QStringLiteral("Make copy to printer"));
    EXPECT_TRUE(editor.cbPrintCopy()->text().isEmpty());

    editor.cbPrintCopy()->click();
    EXPECT_FALSE(host.settings.MakeCopyToPrinter);
}
