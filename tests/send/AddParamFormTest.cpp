#include "send/ui/TAddParamForm.h"

#include "i18n/core/LanguageManager.h"
#include "send/core/FaxRequest.h"
#include "send/core/MessageCharset.h"
#include "send/core/MultiFaxList.h"
#include "tests/send/RelaysTestSupport.h"
#include "tests/support/ScriptedPrompter.h"
#include "tests/support/TestFiles.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTimeEdit>

#include <gtest/gtest.h>

namespace {

class AddParamFormTest : public ::testing::Test
{
protected:
    template <typename T> T* control(const char* name)
    {
        T* found = form.findChild<T*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    void setList(const QString& text)
    {
        control<QCheckBox>("cbMultyFax")->setChecked(true);
        control<QPlainTextEdit>("meMultyFax")->setPlainText(text);
    }
    QString listText() { return control<QPlainTextEdit>("meMultyFax")->toPlainText(); }
    bool pressOk()
    {
        form.setResult(QDialog::Rejected);
        form.Button1Click();
        return form.result() == QDialog::Accepted;
    }

    ScriptedPrompter prompter;
    TAddParamForm form{prompter};
};

struct ListCheckCase
{
    const char* name;
    bool multiFax;
    QString list;
    bool closes;
    QString remaining;
    QStringList messages;
};

void PrintTo(const ListCheckCase& row, std::ostream* os)
{
    *os << row.name;
}

class ListCheckOnOkTest : public AddParamFormTest,
                          public ::testing::WithParamInterface<ListCheckCase>
{
};

QString invalidReport(const QString& collected)
{
    return LangConst("SMultyFaxMessage1") + "\r" + collected;
}

TEST_P(ListCheckOnOkTest, KeepsValidLinesReportsTheOthersAndClosesWithTwoOrMore)
{
    const ListCheckCase& row = GetParam();
    setList(row.list);
    control<QCheckBox>("cbMultyFax")->setChecked(row.multiFax);

    EXPECT_EQ(pressOk(), row.closes);

    EXPECT_EQ(listText(), row.remaining);
    EXPECT_EQ(prompter.texts(), row.messages);
}

INSTANTIATE_TEST_SUITE_P(
    Lists, ListCheckOnOkTest,
    ::testing::Values(
        ListCheckCase{"ModeOffClosesWhateverTheList", false, "abc\n\n", true, "abc\n\n", {}},
        ListCheckCase{"ThreeLinesSecondInvalid",
                      true,
                      "123456 (First)\nabc 55\n789",
                      true,
                      "123456 (First)\n789",
                      {invalidReport("abc 55\r")}},
        ListCheckCase{"FinalLineBreakMakesNoLine", true, "123\n456\n", true, "123\n456\n", {}},
        ListCheckCase{"EmptyLineInsideIsInvalid",
                      true,
                      "123\n\n456",
                      true,
                      "123\n456",
                      {invalidReport("\r")}},
        ListCheckCase{"OneValidLineStaysOpen",
                      true,
                      "123456",
                      false,
                      "123456",
                      {LangConst("SMultyFaxMessage2")}},
        ListCheckCase{"OneValidAfterRemovals",
                      true,
                      "+7 123\n123456\n(9) 5",
                      false,
                      "123456",
                      {invalidReport("+7 123\r(9) 5\r"), LangConst("SMultyFaxMessage2")}},
        ListCheckCase{"EmptyListStaysOpen", true, "", false, "", {LangConst("SMultyFaxMessage")}},
        ListCheckCase{"NothingValidStaysOpen",
                      true,
                      " 123\nabc",
                      false,
                      "",
                      {invalidReport(" 123\rabc\r"), LangConst("SMultyFaxMessage")}}),
    [](const ::testing::TestParamInfo<ListCheckCase>& info) {
        return std::string(info.param.name);
    });

TEST(MultiFaxListTest, CheckKeepsOrderAndTellsTheVerdict)
{
    const MultiFaxList::Check check =
        MultiFaxList::check(MultiFaxList::linesOf("1 a\r\nx\r\n2 b\r3\n"));
    EXPECT_EQ(check.validLines, QStringList({"1 a", "2 b", "3"}));
    EXPECT_EQ(check.invalidLines, QStringList{"x"});
    EXPECT_EQ(check.verdict, MultiFaxList::Verdict::Accepted);
    EXPECT_TRUE(MultiFaxList::linesOf("").isEmpty());
}

// One dialog serves every editor window: what one user of it set, the next
// one reads, whether the dialog was left with OK or Cancel.
TEST_F(AddParamFormTest, StateIsSharedByItsUsersAndSurvivesCancel)
{
    struct EditorStandIn
    {
        TAddParamForm& form;
        AdditionalParameters read() const { return form.parameters(); }
    };
    const EditorStandIn first{form};
    const EditorStandIn second{form};
    EXPECT_FALSE(first.read().debug);
    EXPECT_FALSE(first.read().sendDateTime.has_value());

    control<QCheckBox>("cbDebug")->setChecked(true);
    control<QCheckBox>("cbSendDT")->setChecked(true);
    form.FormShow(relaystest::sampleSendTime());
    form.reject();

    const AdditionalParameters seen = second.read();
    EXPECT_TRUE(seen.debug);
    ASSERT_TRUE(seen.sendDateTime.has_value());
    FaxRequest request;
    request.additional = seen;
    EXPECT_EQ(request.sendDateTimeText(), "05.03.2015 09:07:00");
    EXPECT_FALSE(seen.multiFax);
    EXPECT_TRUE(first.read().debug);
}

TEST_F(AddParamFormTest, EveryOpeningStartsTheWantedTimeNowAndPickersFollowTheBox)
{
    auto* date = control<QDateEdit>("dtpDate");
    auto* time = control<QTimeEdit>("dtpTime");
    EXPECT_FALSE(date->isEnabled() || time->isEnabled());
    control<QCheckBox>("cbSendDT")->setChecked(true);
    EXPECT_TRUE(date->isEnabled() && time->isEnabled());

    time->setTime(QTime(9, 0));
    form.FormShow(QDateTime(QDate(2015, 3, 5), QTime(14, 5)));
    EXPECT_EQ(time->time(), QTime(14, 5));
    EXPECT_EQ(form.GetSendDateTime(), QDateTime(QDate(2015, 3, 5), QTime(14, 5)));

    time->setTime(QTime(9, 0));
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    form.show();
    const QDateTime shown = form.GetSendDateTime();
    form.hide();
    EXPECT_TRUE(shown >= before && shown <= QDateTime::currentDateTime().addSecs(1));
    EXPECT_TRUE(control<QCheckBox>("cbSendDT")->isChecked()) << "the boxes keep their state";
}

TEST_F(AddParamFormTest, MultiAddressControlsStayHiddenAndFollowTheirBox)
{
    auto* box = control<QCheckBox>("cbMultyFax");
    auto* list = control<QPlainTextEdit>("meMultyFax");
    form.show();
    EXPECT_FALSE(box->isVisible() || list->isVisible());
    EXPECT_FALSE(list->isEnabled());
    box->setChecked(true);
    EXPECT_TRUE(list->isEnabled());
    EXPECT_TRUE(control<QWidget>("btMultyFaxLoad")->isEnabled());
    EXPECT_TRUE(control<QWidget>("lbMultyFax")->isEnabled());
    form.hide();
    EXPECT_EQ(form.windowTitle(), "Setting Additional Parameters");
}

struct LoadCase
{
    const char* name;
    QString before;
    std::vector<Prompter::Answer> answers;
    QString after;
    int questions;
};

void PrintTo(const LoadCase& row, std::ostream* os)
{
    *os << row.name;
}

class LoadListTest : public AddParamFormTest, public ::testing::WithParamInterface<LoadCase>
{
};

TEST_P(LoadListTest, AsksBeforeReplacingANonEmptyList)
{
    const LoadCase& row = GetParam();
    QTemporaryDir folder;
    const QString file = folder.filePath("numbers.txt");
    testfiles::write(file, "111\r\nabc\r\n222\r\n");
    setList(row.before);
    for (Prompter::Answer answer : row.answers)
        prompter.queue(answer);

    form.loadMultyFaxList(file);

    EXPECT_EQ(listText(), row.after);
    EXPECT_EQ(int(prompter.shown().size()), row.questions);
    if (row.questions > 0) {
        EXPECT_EQ(prompter.texts().first(), LangConst("SMultyFaxMessage3"));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Loads, LoadListTest,
    ::testing::Values(LoadCase{"EmptyListIsFilledWithoutQuestion", "", {}, "111\nabc\n222", 0},
                      LoadCase{"YesReplaces", "9", {Prompter::Answer::Yes}, "111\nabc\n222", 1},
                      LoadCase{"NoKeeps", "9", {Prompter::Answer::No}, "9", 1}),
    [](const ::testing::TestParamInfo<LoadCase>& info) { return std::string(info.param.name); });

TEST_F(AddParamFormTest, ListFilesInUtf8OrWindows1251AreRead)
{
    QTemporaryDir folder;
    const QString utf8 = folder.filePath("utf8.txt");
    const QString cp1251 = folder.filePath("cp1251.txt");
    testfiles::write(utf8, QStringLiteral("111 (Первый)\n222").toUtf8());
    testfiles::write(cp1251, MessageCharset::encode(QStringLiteral("333 (Второй)\r\n444\r\n")));

    form.loadMultyFaxList(utf8);
    EXPECT_EQ(listText(), "111 (Первый)\n222");
    prompter.queue(Prompter::Answer::Yes);
    form.loadMultyFaxList(cp1251);
    EXPECT_EQ(listText(), "333 (Второй)\n444");
}

TEST_F(AddParamFormTest, UnreadableFileIsAnErrorAndLeavesTheList)
{
    setList("9");
    form.loadMultyFaxList("/nonexistent/numbers.txt");
    EXPECT_EQ(listText(), "9");
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(prompter.shown().front().icon, Prompter::Icon::Error);
    EXPECT_TRUE(prompter.texts().first().contains("/nonexistent/numbers.txt"));
}

} // namespace
