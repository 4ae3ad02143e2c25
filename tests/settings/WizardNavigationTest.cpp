// The start configuration wizard driven without a screen: the page order for
// each relay, Cancel with its question, storing on OK, the import of a
// configuration text, and a language switch that keeps the relay choice.
#include "settings/core/TIni.h"
#include "settings/ui/TFaxStartConfigFTForm.h"
#include "settings/ui/TFaxStartConfigForm.h"
#include "settings/ui/WizardPicture.h"

#include "crypto/core/CryptoUtils.h"
#include "i18n/core/LanguageManager.h"
#include "tests/support/ScriptedPrompter.h"
#include "tests/support/TestFiles.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

TIni defaults()
{
    TIni settings;
    settings.LoadFromStrings({});
    return settings;
}

struct RelayCase
{
    const char* name;
    int relay;
    QStringList forward; // pages visited by Next from SelLang
};

class WizardNavigation : public ::testing::TestWithParam<RelayCase>
{
};

TEST_P(WizardNavigation, NextAndPrevFollowTheRelay)
{
    TIni settings = defaults();
    ScriptedPrompter prompter;
    TFaxStartConfigForm wizard(settings, prompter);
    wizard.show();
    wizard.cbEMailSendMethod->setCurrentIndex(GetParam().relay);

    QStringList visited{wizard.ActivePageName()};
    EXPECT_FALSE(wizard.btPrev->isEnabled());
    while (wizard.ActivePageName() != "Finish") {
        wizard.btNext->click();
        visited << wizard.ActivePageName();
        EXPECT_TRUE(wizard.btPrev->isEnabled());
        EXPECT_TRUE(wizard.btNext->isEnabled());
    }
    EXPECT_EQ(visited, GetParam().forward);

    QStringList back{wizard.ActivePageName()};
    while (wizard.ActivePageName() != "SelLang") {
        wizard.btPrev->click();
        back << wizard.ActivePageName();
    }
    std::reverse(back.begin(), back.end());
    EXPECT_EQ(back, GetParam().forward);
    wizard.btPrev->click(); // disabled on the first page: stays
    EXPECT_EQ(wizard.ActivePageName(), "SelLang");
}

const RelayCase kRelayCases[] = {
    {"MailClient", 0, {"SelLang", "ClientInfo", "EmailServer1", "Finish"}},
    {"Internal", 1, {"SelLang", "ClientInfo", "EmailServer1", "EmailServer2", "Finish"}},
    {"MessageFile", 2, {"SelLang", "ClientInfo", "EmailServer1", "EmailServer2", "Finish"}},
};

INSTANTIATE_TEST_SUITE_P(Relays, WizardNavigation, ::testing::ValuesIn(kRelayCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(WizardRun, NextOnFinishStoresTheControls)
{
    TIni settings = defaults();
    settings.CardPasswordHash = "0123456789abcdef0123456789abcdef";
    settings.LastFaxNumbers = QStringList{"55"};
    ScriptedPrompter prompter;
    TFaxStartConfigForm wizard(settings, prompter);
    wizard.show();
    wizard.edCardName->setText("900");
    wizard.edReplyAddress->setText("reply@example.net");
    wizard.cbEMailSendMethod->setCurrentIndex(1);
    wizard.edEMailServer->setText("smtp.example.net");
    wizard.cbEMailAuth->setChecked(true);
    wizard.edEMailName->setText("n");
    wizard.edEMailPass->setText("p");
    wizard.seEMailServerPort->setValue(2525);
    for (int step = 0; step < 5; ++step)
        wizard.btNext->click();

    EXPECT_EQ(wizard.result(), QDialog::Accepted);
    EXPECT_EQ(settings.CardName, "900");
    EXPECT_EQ(settings.ReplyAddress, "reply@example.net");
    EXPECT_EQ(settings.EMailSendMethod, 1);
    EXPECT_EQ(settings.EMailServer, "smtp.example.net");
    EXPECT_TRUE(settings.EMailAuth);
    EXPECT_EQ(settings.EMailName, "n");
    EXPECT_EQ(settings.EMailPass, "p");
    EXPECT_EQ(settings.EMailServerPort, 2525);
    EXPECT_EQ(settings.EMailServerSSLPort, 465);
    // Untouched PIN field: the stored digest stays.
    EXPECT_EQ(settings.CardPasswordHash, "0123456789abcdef0123456789abcdef");
    EXPECT_EQ(settings.LanguageID, LanguageManager::instance().currentLanguage());
    EXPECT_EQ(settings.LastFaxNumbers, QStringList{"55"});
}

TEST(WizardRun, NewPinIsStoredAsItsDigest)
{
    TIni settings = defaults();
    ScriptedPrompter prompter;
    TFaxStartConfigForm wizard(settings, prompter);
    wizard.show();
    wizard.edCardPasswordHash->setText("4321");
    wizard.accept();
    QString expected;
    ASSERT_EQ(HashString(HASH_MD5, QStringLiteral("4321"), expected), HASH_OK);
    EXPECT_EQ(settings.CardPasswordHash, expected);
}

TEST(WizardRun, StoredSslShowsTheSslPort)
{
    TIni settings = defaults();
    settings.EMailServerRequreSSL = true;
    settings.EMailServerSSLPort = 994;
    ScriptedPrompter prompter;
    TFaxStartConfigForm wizard(settings, prompter);
    wizard.show();
    EXPECT_TRUE(wizard.cbEMailServerRequreSSL->isChecked());
    EXPECT_EQ(wizard.seEMailServerPort->value(), 994);
    wizard.seEMailServerPort->setValue(995);
    wizard.accept();
    EXPECT_EQ(settings.EMailServerSSLPort, 995);
    EXPECT_EQ(settings.EMailServerPort, 25);
}

TEST(WizardCancel, NoStaysYesEndsWithoutStoring)
{
    TIni settings = defaults();
    ScriptedPrompter prompter;
    TFaxStartConfigForm wizard(settings, prompter);
    wizard.show();
    wizard.btNext->click();
    wizard.edCardName->setText("not stored");

    prompter.queue(Prompter::Answer::No);
    wizard.btCancel->click();
    EXPECT_TRUE(wizard.isVisible());
    EXPECT_EQ(wizard.ActivePageName(), "ClientInfo");
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(prompter.shown().front().text, "Exit from start configuration wizard?");
    EXPECT_EQ(prompter.shown().front().buttons, Prompter::Buttons::YesNo);

    prompter.queue(Prompter::Answer::Yes);
    wizard.btCancel->click();
    EXPECT_FALSE(wizard.isVisible());
    EXPECT_EQ(wizard.result(), QDialog::Rejected);
    EXPECT_TRUE(settings.CardName.isEmpty());
}

TEST(WizardCancel, EscapeAsksLikeCancel)
{
    TIni settings = defaults();
    ScriptedPrompter prompter;
    TFaxStartConfigForm wizard(settings, prompter);
    wizard.show();
    prompter.queue(Prompter::Answer::Yes);
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&wizard, &escape);
    EXPECT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(wizard.result(), QDialog::Rejected);
    EXPECT_FALSE(wizard.isVisible());
}

TEST(WizardCancel, CloseBoxEndsWithoutAsking)
{
    TIni settings = defaults();
    ScriptedPrompter prompter;
    TFaxStartConfigForm wizard(settings, prompter);
    wizard.show();
    wizard.edCardName->setText("not stored");
    wizard.close();
    EXPECT_EQ(wizard.result(), QDialog::Rejected);
    EXPECT_TRUE(prompter.shown().empty());
    EXPECT_TRUE(settings.CardName.isEmpty());
}

TEST(WizardImport, TwoLineTextResetsEverythingElse)
{
    TIni settings = defaults();
    settings.EMailServer = "old.example.net";
    settings.EMailSendMethod = 1;
    settings.LastFaxNumbers = QStringList{"1", "2"};
    settings.FontSize = 30;
    settings.HistoryCount = 3;
    ScriptedPrompter prompter;
    TFaxStartConfigForm wizard(settings, prompter);
    wizard.show();

    QTimer::singleShot(0, [] {
        auto* import = qobject_cast<TFaxStartConfigFTForm*>(QApplication::activeModalWidget());
        ASSERT_NE(import, nullptr);
        EXPECT_EQ(import->windowTitle(), "Configuration as text");
        import->Memo1->setPlainText("[Info]\nCardName=123");
        import->btNext->click();
    });
    wizard.btFromText->click();

    EXPECT_EQ(wizard.edCardName->text(), "123");
    EXPECT_TRUE(wizard.edEMailServer->text().isEmpty());
    EXPECT_EQ(wizard.cbEMailSendMethod->currentIndex(), 0);
    EXPECT_EQ(settings.CardName, "123");
    EXPECT_TRUE(settings.LastFaxNumbers.isEmpty());
    EXPECT_EQ(settings.FontSize, 12);
    EXPECT_EQ(settings.HistoryCount, 20);
}

TEST(WizardImport, FromFileLoadsTheTextAndReportsAnUnreadableFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("config.ini");
    testfiles::write(path, "[Info]\r\nCardName=\xd0\x96-7\r\n");
    ScriptedPrompter prompter;
    TFaxStartConfigFTForm import(prompter);
    ASSERT_TRUE(import.LoadFile(path).ok());
    EXPECT_EQ(import.Lines(),
              (QStringList{"[Info]", QString::fromUtf8("CardName=\xd0\x96-7"), ""}));

    const Status missing = import.LoadFile(dir.filePath("missing.ini"));
    EXPECT_FALSE(missing.ok());
    EXPECT_TRUE(missing.text().contains("missing.ini"));
    EXPECT_EQ(import.Lines().front(), "[Info]"); // kept
}

TEST(WizardLanguage, SwitchRetranslatesAtOnceAndKeepsTheRelay)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QFile::copy(QUILLON_SOURCE_DIR "/lang/russian.lng", dir.filePath("russian.lng")));
    LanguageManager& languages = LanguageManager::instance();
    languages.registerLanguageFiles(dir.path());

    TIni settings = defaults();
    ScriptedPrompter prompter;
    TFaxStartConfigForm wizard(settings, prompter);
    wizard.show();
    ASSERT_EQ(wizard.ComboBox1->count(), 2);
    EXPECT_EQ(wizard.ComboBox1->itemText(0), "English (United States)");
    EXPECT_EQ(wizard.ComboBox1->itemText(1), "Russian (Russia)");
    EXPECT_EQ(wizard.ComboBox1->currentIndex(), 0);
    wizard.cbEMailSendMethod->setCurrentIndex(2);

    wizard.ComboBox1->setCurrentIndex(1);
    wizard.ComboBox1Change(1);
    EXPECT_EQ(languages.currentLanguage(), 1049);
    EXPECT_EQ(settings.LanguageID, 1049);
    EXPECT_EQ(wizard.btNext->text(), QString::fromUtf8("Далее"));
    EXPECT_EQ(wizard.cbEMailSendMethod->itemText(2), QString::fromUtf8("Почтовый клиент (файл)"));
    EXPECT_EQ(wizard.cbEMailSendMethod->currentIndex(), 2);

    // Later messages speak the new language too.
    prompter.queue(Prompter::Answer::No);
    wizard.btCancel->click();
    EXPECT_EQ(prompter.shown().back().text,
              QString::fromUtf8("Выйти из мастера начальной настройки?"));

    settings.LanguageID = 1033; // the wizard stores the language in force on OK
    wizard.accept();
    EXPECT_EQ(settings.LanguageID, 1049);

    languages.setCurrentLanguage(LanguageManager::kBuiltInLanguage);
    EXPECT_EQ(wizard.btNext->text(), "Next");
    QTemporaryDir empty;
    languages.registerLanguageFiles(empty.path());
}

TEST(WizardLanguage, UnreadableLanguageIsReportedAndNothingChanges)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("german.lng");
    testfiles::write(path, "LANGID=1031\n[$CONSTANTS]\nSPage=Seite\n");
    LanguageManager& languages = LanguageManager::instance();
    languages.registerLanguageFiles(dir.path());

    TIni settings = defaults();
    ScriptedPrompter prompter;
    TFaxStartConfigForm wizard(settings, prompter);
    wizard.show();
    wizard.cbEMailSendMethod->setCurrentIndex(1);
    ASSERT_TRUE(QFile::remove(path));
    wizard.ComboBox1->setCurrentIndex(1);
    wizard.ComboBox1Change(1);

    EXPECT_EQ(languages.currentLanguage(), 1033);
    EXPECT_EQ(wizard.ComboBox1->currentData().toInt(), 1033);
    EXPECT_EQ(settings.LanguageID, 1033);
    EXPECT_EQ(wizard.cbEMailSendMethod->currentIndex(), 1);
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(prompter.shown().front().icon, Prompter::Icon::Error);
    EXPECT_TRUE(prompter.shown().front().text.contains("german.lng"));

    QTemporaryDir empty;
    languages.registerLanguageFiles(empty.path());
}

TEST(WizardLanguage, NoLanguageFilesListsOnlyEnglish)
{
    QTemporaryDir empty;
    LanguageManager::instance().registerLanguageFiles(empty.path());
    TIni settings = defaults();
    ScriptedPrompter prompter;
    TFaxStartConfigForm wizard(settings, prompter);
    wizard.show();
    ASSERT_EQ(wizard.ComboBox1->count(), 1);
    EXPECT_EQ(wizard.ComboBox1->currentData().toInt(), 1033);
}

TEST(WizardPicture, HasTheSizeOfThePictureArea)
{
    const QPixmap picture = WizardPicture::paint();
    EXPECT_EQ(picture.size(), QSize(164, 314));
    TIni settings = defaults();
    ScriptedPrompter prompter;
    TFaxStartConfigForm wizard(settings, prompter);
    EXPECT_EQ(wizard.Image1->size(), QSize(164, 314));
}

} // namespace
