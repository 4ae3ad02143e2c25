#include "app/ui/TFaxHideForm.h"
#include "editor/ui/TFaxEditForm.h"
#include "i18n/core/LanguageManager.h"
#include "settings/core/TIni.h"
#include "tests/support/ScriptedPrompter.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {
// A start in a folder of its own: the per-user settings folder lives below a
// temporary XDG_CONFIG_HOME, the "executable" in a folder beside it.
class HiddenFormStart : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_root.isValid());
        m_oldConfigHome = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", m_root.filePath(QStringLiteral("config")).toUtf8());
        QDir().mkpath(settingsFolder());
        QDir().mkpath(m_root.filePath(QStringLiteral("bin")));
    }

    void TearDown() override { qputenv("XDG_CONFIG_HOME", m_oldConfigHome); }

    QString settingsFolder() const
    {
        return m_root.filePath(QStringLiteral("config/Vornik/Quillon2"));
    }
    QString settingsFile() const { return settingsFolder() + QStringLiteral("/quillon2.ini"); }

    std::unique_ptr<TFaxHideForm> start(const QStringList& arguments)
    {
        StartEnvironment environment;
        environment.arguments = arguments;
        environment.executablePath = m_root.filePath(QStringLiteral("bin/quillon2"));
        environment.prompter = &m_prompter;
        environment.startWizard = [this](TIni& settings, Prompter&) {
            ++m_wizardRuns;
            if (m_wizardConfirms)
                settings.CardName = QStringLiteral("from the wizard");
            return m_wizardConfirms;
        };
        return std::make_unique<TFaxHideForm>(environment);
    }

    void writeSettings(const QByteArray& text)
    {
        QFile file(settingsFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    QTemporaryDir m_root;
    QByteArray m_oldConfigHome;
    ScriptedPrompter m_prompter;
    int m_wizardRuns = 0;
    bool m_wizardConfirms = false;
};
} // namespace

TEST_F(HiddenFormStart, WithoutArgumentsExplainsTheUseAndEndsAtTheFirstTick)
{
    writeSettings("[Common]\nLanguageID=1033\n");
    auto form = start({});
    ASSERT_EQ(m_prompter.shown().size(), 1u);
    EXPECT_EQ(m_prompter.shown()[0].icon, Prompter::Icon::Error);
    EXPECT_EQ(m_prompter.shown()[0].text,
              LangConst(QStringLiteral("SStartNoParams")) + QLatin1Char('\r'));
    EXPECT_TRUE(form->EditorWindows().isEmpty());

    QSignalSpy finished(form.get(), &TFaxHideForm::finished);
    EXPECT_TRUE(finished.wait(3 * TFaxHideForm::kWatchIntervalMs));
}

TEST_F(HiddenFormStart, UnacceptedFileTypeNamesTheArgument)
{
    writeSettings("[Common]\nLanguageID=1033\n");
    auto form = start({QStringLiteral("/tmp/report.pdf")});
    ASSERT_EQ(m_prompter.texts().size(), 1);
    EXPECT_TRUE(m_prompter.texts()[0].endsWith(QStringLiteral("\r/tmp/report.pdf")));
}

TEST_F(HiddenFormStart, NewOpensOneEmptyEditorAndLivesUntilItCloses)
{
    writeSettings("[Common]\nLanguageID=1033\n");
    auto form = start({QStringLiteral("--NEW")});
    EXPECT_TRUE(m_prompter.shown().empty());
    ASSERT_EQ(form->EditorWindows().size(), 1);

    QSignalSpy finished(form.get(), &TFaxHideForm::finished);
    EXPECT_FALSE(finished.wait(2 * TFaxHideForm::kWatchIntervalMs + 200))
        << "the process must live while an editor is open";
    form->EditorWindows().first()->close();
    // A user's close comes from the event loop, which then deletes the
    // window; from the test body the deferred delete is sent by hand.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(finished.wait(3 * TFaxHideForm::kWatchIntervalMs));
    EXPECT_TRUE(form->EditorWindows().isEmpty());
}

TEST_F(HiddenFormStart, FirstStartWritesTheSettingsFileOnTheWayOut)
{
    ASSERT_FALSE(QFile::exists(settingsFile()));
    {
        auto form = start({QStringLiteral("--install-wizard")});
        EXPECT_EQ(form->SettingsFileName, settingsFile());
        EXPECT_EQ(m_wizardRuns, 1) << "a first start with --install-wizard runs it once";
        EXPECT_FALSE(QFile::exists(settingsFile())) << "a cancelled wizard saves nothing";
    }
    ASSERT_TRUE(QFile::exists(settingsFile()));
    TIni reread;
    reread.LoadFromFile(settingsFile());
    EXPECT_EQ(reread.LanguageID, 1033);
    EXPECT_EQ(reread.HistoryCount, 20);
}

TEST_F(HiddenFormStart, ConfirmedWizardSavesAtOnceAndTheDocumentOpensAfterIt)
{
    m_wizardConfirms = true;
    auto form = start({QStringLiteral("--new")});
    EXPECT_EQ(m_wizardRuns, 1);
    TIni saved;
    saved.LoadFromFile(settingsFile());
    EXPECT_EQ(saved.CardName, QStringLiteral("from the wizard"));
    EXPECT_EQ(form->EditorWindows().size(), 1);
}

TEST_F(HiddenFormStart, WizardSwitchRunsOnlyTheWizardWhenSettingsExist)
{
    writeSettings("[Common]\nLanguageID=1033\n");
    auto form = start({QStringLiteral("--Install-Wizard")});
    EXPECT_EQ(m_wizardRuns, 1);
    EXPECT_TRUE(form->EditorWindows().isEmpty());
    EXPECT_TRUE(m_prompter.shown().empty());
}

TEST_F(HiddenFormStart, StoredSettingsAreLoadedAndKeptThroughTheRun)
{
    writeSettings("[Info]\nCardName=4711\n[Common]\nLanguageID=1049\n");
    {
        auto form = start({QStringLiteral("--install-wizard")});
        EXPECT_EQ(form->Settings().CardName, QStringLiteral("4711"));
        // No Russian texts are installed here: the interface falls back to
        // English, but the stored choice stays until the user picks another.
        EXPECT_EQ(LanguageManager::instance().currentLanguage(), 1033);
        EXPECT_EQ(form->Settings().LanguageID, 1049);
    }
    TIni reread;
    reread.LoadFromFile(settingsFile());
    EXPECT_EQ(reread.CardName, QStringLiteral("4711"));
    EXPECT_EQ(reread.LanguageID, 1049);
}

TEST_F(HiddenFormStart, IntakeQueueIsFirstInFirstOutAndDropsBlankPaths)
{
    writeSettings("[Common]\nLanguageID=1033\n");
    auto form = start({QStringLiteral("--install-wizard")});
    form->EnqueueFile(QStringLiteral("  /tmp/a.tif "));
    form->EnqueueFile(QStringLiteral("   "));
    form->EnqueueFile(QStringLiteral("/tmp/b.tif"));
    EXPECT_EQ(form->DequeueFile(), QStringLiteral("/tmp/a.tif"));
    EXPECT_EQ(form->DequeueFile(), QStringLiteral("/tmp/b.tif"));
    EXPECT_EQ(form->DequeueFile(), QString());
}

TEST_F(HiddenFormStart, QueuedDocumentKeepsTheProcessAliveWithoutEditors)
{
    // A later start was told "200 OK": its document must still be offered
    // even though no editor is open any more.
    writeSettings("[Common]\nLanguageID=1033\n");
    auto form = start({QStringLiteral("--install-wizard")});
    QTemporaryDir folder;
    const QString queued = folder.filePath(QStringLiteral("later.tif"));
    QFile file(queued);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a picture");
    file.close();
    form->EnqueueFile(queued);
    form->EnqueueFile(queued);

    QSignalSpy finished(form.get(), &TFaxHideForm::finished);
    // The first tick takes one path (unreadable: an error, nothing opened);
    // the second is still queued, so the process must not end yet.
    EXPECT_FALSE(finished.wait(TFaxHideForm::kWatchIntervalMs + 300));
    EXPECT_TRUE(finished.wait(3 * TFaxHideForm::kWatchIntervalMs));
    EXPECT_EQ(m_prompter.shown().size(), 2u) << "each queued document was offered";
}
