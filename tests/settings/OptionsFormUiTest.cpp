// The options dialog driven without a screen: settings into controls and
// back, the PIN placeholder, the port that follows "SSL", Clear, and the
// save after OK with its error box.
#include "settings/core/TIni.h"
#include "settings/ui/TFaxOptionsForm.h"

#include "crypto/core/CryptoUtils.h"
#include "tests/support/ScriptedPrompter.h"
#include "tests/support/TestFiles.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

TIni defaults()
{
    TIni settings;
    settings.LoadFromStrings({});
    return settings;
}

QString md5(const QString& text)
{
    QString digest;
    EXPECT_EQ(HashString(HASH_MD5, text, digest), HASH_OK);
    return digest;
}

struct CopyInCase
{
    const char* name;
    std::function<void(TIni&)> change;
    std::function<void(const TFaxOptionsForm&)> check;
};

class OptionsCopyIn : public ::testing::TestWithParam<CopyInCase>
{
};

TEST_P(OptionsCopyIn, ControlsShowTheSettings)
{
    TIni settings = defaults();
    GetParam().change(settings);
    TFaxOptionsForm form(settings);
    form.CopyIn();
    form.FormShow();
    GetParam().check(form);
}

const CopyInCase kCopyInCases[] = {
    {"TextsAndChecks",
     [](TIni& s) {
         s.EMailName = "smtp-user";
         s.EMailServer = "mail.example.net";
         s.EMailPass = "secret";
         s.EMailAuth = true;
         s.EMailServerRequreFQN = true;
         s.CardName = "4411";
         s.CardPasswordHash = "0123456789abcdef0123456789abcdef";
         s.ReplyAddress = "me@example.net";
         s.HistoryCount = 7;
         s.EMailSendMethod = 2;
         s.PassMode = 0;
     },
     [](const TFaxOptionsForm& f) {
         EXPECT_EQ(f.edEMailName->text(), "smtp-user");
         EXPECT_EQ(f.edEMailServer->text(), "mail.example.net");
         EXPECT_EQ(f.edEMailPass->text(), "secret");
         EXPECT_TRUE(f.cbEMailAuth->isChecked());
         EXPECT_TRUE(f.edEMailName->isEnabled());
         EXPECT_TRUE(f.lbEMailPass->isEnabled());
         EXPECT_TRUE(f.cbEMailServerRequreFQN->isChecked());
         EXPECT_EQ(f.edCardName->text(), "4411");
         EXPECT_EQ(f.edCardPasswordHash->text(), "**********");
         EXPECT_EQ(f.edCardPasswordHash->echoMode(), QLineEdit::Password);
         EXPECT_EQ(f.edReplyAddress->text(), "me@example.net");
         EXPECT_EQ(f.seHistoryCount->value(), 7);
         EXPECT_EQ(f.cbEMailSendMethod->currentIndex(), 2);
         EXPECT_EQ(f.cbPassMode->currentIndex(), 0);
         EXPECT_FALSE(f.btClear->isEnabled()); // empty history
     }},
    {"PlainPort",
     [](TIni& s) {
         s.EMailServerPort = 2525;
         s.EMailServerSSLPort = 4650;
     },
     [](const TFaxOptionsForm& f) {
         EXPECT_FALSE(f.cbEMailServerRequreSSL->isChecked());
         EXPECT_EQ(f.seEMailServerPort->value(), 2525);
         EXPECT_FALSE(f.cbEMailServerVerifySSL->isEnabled());
     }},
    {"SslPort",
     [](TIni& s) {
         s.EMailServerRequreSSL = true;
         s.EMailServerVerifySSL = false;
     },
     [](const TFaxOptionsForm& f) {
         EXPECT_TRUE(f.cbEMailServerRequreSSL->isChecked());
         EXPECT_EQ(f.seEMailServerPort->value(), 465);
         EXPECT_TRUE(f.cbEMailServerVerifySSL->isEnabled());
         EXPECT_FALSE(f.cbEMailServerVerifySSL->isChecked());
     }},
    {"AuthOffDisablesNameAndPassword", [](TIni& s) { s.EMailAuth = false; },
     [](const TFaxOptionsForm& f) {
         EXPECT_FALSE(f.lbEMailName->isEnabled());
         EXPECT_FALSE(f.edEMailName->isEnabled());
         EXPECT_FALSE(f.lbEMailPass->isEnabled());
         EXPECT_FALSE(f.edEMailPass->isEnabled());
     }},
    {"DpiAboveRangeShowsMaximumAndOffDisablesBox",
     [](TIni& s) {
         s.OutputDPI = 1200;
         s.ChangeOutputDPI = false;
     },
     [](const TFaxOptionsForm& f) {
         EXPECT_EQ(f.seOutputDPI->value(), 600);
         EXPECT_FALSE(f.cbOutputDPI->isChecked());
         EXPECT_FALSE(f.seOutputDPI->isEnabled());
     }},
    {"UnknownRelayAndPinModeSelectNothing",
     [](TIni& s) {
         s.EMailSendMethod = 9;
         s.PassMode = 5;
     },
     [](const TFaxOptionsForm& f) {
         EXPECT_EQ(f.cbEMailSendMethod->currentIndex(), -1);
         EXPECT_EQ(f.cbPassMode->currentIndex(), -1);
     }},
    {"HistoryEnablesClear", [](TIni& s) { s.LastFaxNumbers = QStringList{"123"}; },
     [](const TFaxOptionsForm& f) { EXPECT_TRUE(f.btClear->isEnabled()); }},
};

INSTANTIATE_TEST_SUITE_P(Table, OptionsCopyIn, ::testing::ValuesIn(kCopyInCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(OptionsCopyOut, UntouchedDialogKeepsEverySetting)
{
    TIni settings = defaults();
    settings.EMailName = "user";
    settings.EMailServer = "smtp.example.net";
    settings.EMailPass = "pw";
    settings.EMailAuth = true;
    settings.EMailServerPort = 2525;
    settings.EMailServerSSLPort = 4650;
    settings.CardName = "77";
    settings.CardPasswordHash = md5("1234");
    settings.ReplyAddress = "r@example.net";
    settings.HistoryCount = 3;
    settings.EMailSendMethod = 1;
    settings.PassMode = 1;
    settings.OutputDPI = 200;
    settings.ChangeOutputDPI = true;
    const TIni before = settings;

    TFaxOptionsForm form(settings);
    form.CopyIn();
    form.CopyOut();

    EXPECT_EQ(settings.EMailName, before.EMailName);
    EXPECT_EQ(settings.EMailServer, before.EMailServer);
    EXPECT_EQ(settings.EMailPass, before.EMailPass);
    EXPECT_EQ(settings.EMailAuth, before.EMailAuth);
    EXPECT_EQ(settings.EMailServerPort, 2525);
    EXPECT_EQ(settings.EMailServerSSLPort, 4650);
    EXPECT_EQ(settings.CardName, before.CardName);
    EXPECT_EQ(settings.CardPasswordHash, before.CardPasswordHash);
    EXPECT_EQ(settings.ReplyAddress, before.ReplyAddress);
    EXPECT_EQ(settings.HistoryCount, 3);
    EXPECT_EQ(settings.EMailSendMethod, 1);
    EXPECT_EQ(settings.PassMode, 1);
    EXPECT_EQ(settings.OutputDPI, 200);
    EXPECT_TRUE(settings.ChangeOutputDPI);
}

TEST(OptionsCopyOut, ControlsGoToTheirSettings)
{
    TIni settings = defaults();
    TFaxOptionsForm form(settings);
    form.CopyIn();
    form.edEMailName->setText("n");
    form.edEMailServer->setText("s");
    form.edEMailPass->setText("p");
    form.cbEMailAuth->setChecked(true);
    form.cbEMailServerRequreFQN->setChecked(true);
    form.edCardName->setText("c");
    form.edReplyAddress->setText("r");
    form.seHistoryCount->setValue(0);
    form.cbEMailSendMethod->setCurrentIndex(2);
    form.cbPassMode->setCurrentIndex(0);
    form.cbOutputDPI->setChecked(true);
    form.seOutputDPI->setValue(150);
    form.CopyOut();

    EXPECT_EQ(settings.EMailName, "n");
    EXPECT_EQ(settings.EMailServer, "s");
    EXPECT_EQ(settings.EMailPass, "p");
    EXPECT_TRUE(settings.EMailAuth);
    EXPECT_TRUE(settings.EMailServerRequreFQN);
    EXPECT_EQ(settings.CardName, "c");
    EXPECT_EQ(settings.ReplyAddress, "r");
    EXPECT_EQ(settings.HistoryCount, 0);
    EXPECT_EQ(settings.EMailSendMethod, 2);
    EXPECT_EQ(settings.PassMode, 0);
    EXPECT_TRUE(settings.ChangeOutputDPI);
    EXPECT_EQ(settings.OutputDPI, 150);
}

TEST(OptionsCopyOut, StoredDpiAboveRangeIsSavedAsMaximum)
{
    TIni settings = defaults();
    settings.OutputDPI = 1200;
    TFaxOptionsForm form(settings);
    form.CopyIn();
    form.CopyOut();
    EXPECT_EQ(settings.OutputDPI, 600);
}

TEST(OptionsCopyOut, UnknownRelayAndPinModeAreKept)
{
    TIni settings = defaults();
    settings.EMailSendMethod = 9;
    settings.PassMode = 5;
    TFaxOptionsForm form(settings);
    form.CopyIn();
    form.CopyOut();
    EXPECT_EQ(settings.EMailSendMethod, 9);
    EXPECT_EQ(settings.PassMode, 5);
}

TEST(OptionsCopyOut, DisabledNameAndPasswordAreStillStored)
{
    TIni settings = defaults();
    TFaxOptionsForm form(settings);
    form.CopyIn();
    form.FormShow();
    ASSERT_FALSE(form.edEMailName->isEnabled());
    form.edEMailName->setText("kept");
    form.edEMailPass->setText("also kept");
    form.CopyOut();
    EXPECT_EQ(settings.EMailName, "kept");
    EXPECT_EQ(settings.EMailPass, "also kept");
}

struct PinCase
{
    const char* name;
    const char* typed; // nullptr: the placeholder is left alone
    const char* expectedDigestOf;
};

class OptionsPin : public ::testing::TestWithParam<PinCase>
{
};

TEST_P(OptionsPin, PlaceholderKeepsDigestAnyOtherTextIsDigested)
{
    const QString stored = md5("0000");
    TIni settings = defaults();
    settings.CardPasswordHash = stored;
    TFaxOptionsForm form(settings);
    form.CopyIn();
    if (GetParam().typed)
        form.edCardPasswordHash->setText(QString::fromUtf8(GetParam().typed));
    form.CopyOut();
    const QString expected =
        GetParam().expectedDigestOf ? md5(QString::fromUtf8(GetParam().expectedDigestOf)) : stored;
    EXPECT_EQ(settings.CardPasswordHash, expected);
    EXPECT_EQ(settings.CardPasswordHash.size(), 32);
}

const PinCase kPinCases[] = {
    {"Untouched", nullptr, nullptr},
    {"NewPin", "1234", "1234"},
    {"Cleared", "", ""},
    {"NineAsterisks", "*********", "*********"},
};

INSTANTIATE_TEST_SUITE_P(Table, OptionsPin, ::testing::ValuesIn(kPinCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(OptionsSsl, PortBoxFollowsStoredPortsNotTypedOne)
{
    TIni settings = defaults();
    settings.EMailServerPort = 25;
    settings.EMailServerSSLPort = 465;
    TFaxOptionsForm form(settings);
    form.CopyIn();
    form.seEMailServerPort->setValue(2525);
    form.cbEMailServerRequreSSL->setChecked(true);
    EXPECT_EQ(form.seEMailServerPort->value(), 465);
    form.cbEMailServerRequreSSL->setChecked(false);
    EXPECT_EQ(form.seEMailServerPort->value(), 25);
}

TEST(OptionsSsl, ConfirmedPortGoesToSslPortOnly)
{
    TIni settings = defaults();
    settings.EMailServerRequreSSL = true;
    TFaxOptionsForm form(settings);
    form.CopyIn();
    form.seEMailServerPort->setValue(587);
    form.cbEMailServerVerifySSL->setChecked(false);
    form.CopyOut();
    EXPECT_EQ(settings.EMailServerSSLPort, 587);
    EXPECT_EQ(settings.EMailServerPort, 25);
    EXPECT_TRUE(settings.EMailServerRequreSSL);
    EXPECT_FALSE(settings.EMailServerVerifySSL);
}

// Presses a button of the modal dialog once the event loop runs it.
void pressWhenModal(const char* buttonName, std::function<void(QWidget*)> before = {})
{
    QTimer::singleShot(0, [buttonName, before] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        if (before)
            before(dialog);
        dialog->findChild<QPushButton*>(QString::fromLatin1(buttonName))->click();
    });
}

TEST(ShowOptionsRun, ClearThenCancelLeavesHistoryEmptyAndWritesNothing)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("quillon2.ini");
    TIni settings = defaults();
    settings.LastFaxNumbers = QStringList{"111", "222"};
    settings.CardName = "before";
    ScriptedPrompter prompter;
    pressWhenModal("btCancel", [](QWidget* dialog) {
        auto* clear = dialog->findChild<QPushButton*>("btClear");
        ASSERT_TRUE(clear->isEnabled());
        clear->click();
        EXPECT_FALSE(clear->isEnabled());
        dialog->findChild<QLineEdit*>("edCardName")->setText("typed");
    });
    EXPECT_FALSE(ShowOptions(settings, prompter, file));
    EXPECT_TRUE(settings.LastFaxNumbers.isEmpty());
    EXPECT_EQ(settings.CardName, "before");
    EXPECT_FALSE(QFileInfo::exists(file));
    EXPECT_TRUE(prompter.shown().empty());
}

TEST(ShowOptionsRun, OkStoresAndWritesTheFile)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("sub/quillon2.ini");
    TIni settings = defaults();
    ScriptedPrompter prompter;
    pressWhenModal("btOK", [](QWidget* dialog) {
        dialog->findChild<QLineEdit*>("edCardName")->setText("5150");
    });
    EXPECT_TRUE(ShowOptions(settings, prompter, file));
    EXPECT_EQ(settings.CardName, "5150");
    EXPECT_TRUE(testfiles::read(file).contains("CardName=5150"));
    EXPECT_TRUE(prompter.shown().empty());
}

TEST(ShowOptionsRun, UnwritableFileIsReportedAndValuesStay)
{
    QTemporaryDir dir;
    // A folder where the file should be: it cannot be written.
    const QString file = dir.filePath("quillon2.ini");
    ASSERT_TRUE(QDir().mkpath(file));
    TIni settings = defaults();
    ScriptedPrompter prompter;
    pressWhenModal("btOK", [](QWidget* dialog) {
        dialog->findChild<QLineEdit*>("edReplyAddress")->setText("x@example.net");
    });
    EXPECT_TRUE(ShowOptions(settings, prompter, file));
    EXPECT_EQ(settings.ReplyAddress, "x@example.net");
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(prompter.shown().front().icon, Prompter::Icon::Error);
    EXPECT_TRUE(prompter.shown().front().text.startsWith("Unable to write to " + file));
}

} // namespace
