#include "app/core/CommandServer.h"
#include "app/core/FileHandOff.h"
#include "app/core/IntakeQueue.h"
#include "app/ui/TFaxHideForm.h"
#include "app/ui/TNewDocForm.h"
#include "editor/core/FaxImage.h"
#include "editor/core/PageList.h"
#include "editor/ui/FaxNumberBox.h"
#include "editor/ui/TFaxEditForm.h"
#include "editor/ui/ThumbnailList.h"
#include "i18n/core/LanguageManager.h"
#include "i18n/core/MessageFormat.h"
#include "tests/app/LoopbackHelpers.h"
#include "tests/support/ScriptedPrompter.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QHostAddress>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTcpSocket>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {
// A start in folders of its own: the settings below a temporary
// XDG_CONFIG_HOME (written beforehand, so no first-start wizard runs), the
// documents in a temporary folder, the command server on a free port.
class IntakeStart : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_root.isValid());
        m_oldConfigHome = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", m_root.filePath(QStringLiteral("config")).toUtf8());
        const QString settings = m_root.filePath(QStringLiteral("config/Vornik/Quillon2"));
        QDir().mkpath(settings);
        QDir().mkpath(m_root.filePath(QStringLiteral("bin")));
        QDir().mkpath(m_root.filePath(QStringLiteral("docs")));
        testfiles::write(settings + QStringLiteral("/quillon2.ini"), "[Common]\nLanguageID=1033\n");
        m_port = loopback::freePort();
    }

    void TearDown() override
    {
        m_form.reset();
        qputenv("XDG_CONFIG_HOME", m_oldConfigHome);
    }

    TFaxHideForm& start(const QStringList& arguments)
    {
        StartEnvironment environment;
        environment.arguments = arguments;
        environment.executablePath = m_root.filePath(QStringLiteral("bin/quillon2"));
        environment.prompter = &m_prompter;
        environment.commandPort = m_port;
        m_form = std::make_unique<TFaxHideForm>(environment);
        return *m_form;
    }

    // A real multi-page TIFF file written by the fax image writer.
    QString document(const QString& name, int pageCount)
    {
        std::vector<Page> pages;
        for (int i = 0; i < pageCount; ++i)
            pages.push_back(Page::blank(QSize(200 + i, 280)));
        const QString path = m_root.filePath(QStringLiteral("docs/") + name);
        EXPECT_TRUE(WriteFaxImage(pages, path).ok());
        return path;
    }

    // One watch tick, run at once rather than after its second.
    void tick() { QMetaObject::invokeMethod(m_form.get(), "tmWatch2Timer"); }

    QTemporaryDir m_root;
    QByteArray m_oldConfigHome;
    ScriptedPrompter m_prompter;
    quint16 m_port = 0;
    std::unique_ptr<TFaxHideForm> m_form;
};

// What the intake dialog showed when it came up, and the button pressed.
struct DialogSeen
{
    int runs = 0;
    QStringList captions;
    int incomingPages = 0;
    bool addEnabled = false;
    QWidget* chosen = nullptr;
};

TNewDocForm::Runner Press(QPushButton* TNewDocForm::*button, DialogSeen& seen)
{
    return [button, &seen](TNewDocForm& dialog) {
        dialog.show();
        ++seen.runs;
        const QAbstractItemModel* docs = dialog.imvOpenDocs->model();
        for (int row = 0; row < docs->rowCount(); ++row)
            seen.captions << docs->index(row, 0).data(Qt::DisplayRole).toString();
        seen.incomingPages = static_cast<int>(dialog.incomingPages().size());
        seen.addEnabled = dialog.btAdd->isEnabled();
        seen.chosen = dialog.ChosenDocument();
        (dialog.*button)->click();
        const int result = dialog.result();
        dialog.hide();
        return result;
    };
}

// ---- The start with a document ----

TEST_F(IntakeStart, StartWithDocumentServesAndOpensIt)
{
    const QString path = document(QStringLiteral("first.tif"), 1);
    TFaxHideForm& form = start({path});
    EXPECT_TRUE(form.isCommandServerActive());
    EXPECT_EQ(form.EditorWindows().size(), 1);
    EXPECT_TRUE(m_prompter.shown().empty());
}

TEST_F(IntakeStart, StartWithoutDocumentDoesNotListen)
{
    TFaxHideForm& form = start({QStringLiteral("--new")});
    EXPECT_FALSE(form.isCommandServerActive());
}

TEST_F(IntakeStart, TakenPortHandsTheDocumentOverAndEnds)
{
    IntakeQueue runningQueue;
    CommandServer running(runningQueue, m_port);
    ASSERT_EQ(running.Activate().outcome, CommandServer::Activation::Listening);

    const QString path = document(QStringLiteral("Second Page.TIF"), 1);
    TFaxHideForm& form = start({path});
    QSignalSpy finished(&form, &TFaxHideForm::finished);
    EXPECT_TRUE(form.EditorWindows().isEmpty());
    EXPECT_FALSE(form.isCommandServerActive());
    EXPECT_TRUE(m_prompter.shown().empty());
    EXPECT_EQ(runningQueue.DequeueFile(), path);
    // The end comes from the event loop's first turn, well before a tick.
    EXPECT_TRUE(finished.wait(TFaxHideForm::kWatchIntervalMs / 2));
}

struct FailedHandOffCase
{
    const char* name;
    bool fileExists;
};

class FailedHandOff : public IntakeStart, public ::testing::WithParamInterface<FailedHandOffCase>
{
};

TEST_P(FailedHandOff, ReportsAndFallsBackToItsOwnEditor)
{
    // A socket bound to the port without listening: the server cannot take
    // the port, and nobody accepts the hand-off.
    QTcpSocket squatter;
    ASSERT_TRUE(squatter.bind(QHostAddress(QHostAddress::LocalHost), m_port));

    const QString path = GetParam().fileExists ? document(QStringLiteral("Fallback.tif"), 1)
                                               : m_root.filePath(QStringLiteral("docs/Gone.tif"));
    TFaxHideForm& form = start({path});
    const QStringList texts = m_prompter.texts();
    ASSERT_FALSE(texts.isEmpty());
    EXPECT_EQ(texts.first(), LangConst(QStringLiteral("SErrorFileLinkTransfer")));
    EXPECT_FALSE(form.isCommandServerActive());
    if (GetParam().fileExists) {
        EXPECT_EQ(texts.size(), 1);
        EXPECT_EQ(form.EditorWindows().size(), 1);
    } else {
        ASSERT_EQ(texts.size(), 2);
        EXPECT_EQ(texts.at(1), MessageFormat::Format(LangConst(QStringLiteral("SStartCPError")),
                                                     {path.toLower()}));
        EXPECT_TRUE(form.EditorWindows().isEmpty());
    }
}

INSTANTIATE_TEST_SUITE_P(Start, FailedHandOff,
                         ::testing::Values(FailedHandOffCase{"FileThere", true},
                                           FailedHandOffCase{"FileGone", false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(IntakeStart, PortOfAnotherUserLeavesThisStartItsOwnEditor)
{
    const QString why = loopback::whyNoOtherUser();
    if (!why.isEmpty())
        GTEST_SKIP() << "Skipped: a first instance of another user " << why.toStdString();
    const QString id = QString::number(loopback::kOtherUid);
    QProcess theirs;
    theirs.start(QStringLiteral("/usr/bin/setpriv"),
                 {QStringLiteral("--reuid=") + id, QStringLiteral("--regid=") + id,
                  QStringLiteral("--clear-groups"), testfiles::systemPython(), QStringLiteral("-c"),
                  QStringLiteral("import socket,time\ns=socket.socket()\n"
                                 "s.bind(('127.0.0.1',%1))\ns.listen(5)\n"
                                 "print('ready',flush=True)\ntime.sleep(30)\n")
                      .arg(m_port)});
    ASSERT_TRUE(theirs.waitForReadyRead(10000));

    TFaxHideForm& form = start({document(QStringLiteral("mine.tif"), 1)});
    EXPECT_TRUE(m_prompter.shown().empty());
    EXPECT_EQ(form.EditorWindows().size(), 1);
    EXPECT_FALSE(form.isCommandServerActive());
    theirs.kill();
    theirs.waitForFinished();
}

// ---- The watch timer's intake ----

TEST_F(IntakeStart, AddAppendsTheIncomingPagesToTheLastListedDocument)
{
    TFaxHideForm& form = start({QStringLiteral("--new")});
    form.OpenEditor(QString());
    const auto editors = form.EditorWindows();
    ASSERT_EQ(editors.size(), 2);
    editors.at(0)->cbFaxNumber()->setEditText(QStringLiteral("111 (Ann)"));
    editors.at(1)->cbFaxNumber()->setEditText(QStringLiteral("222 (Bob)"));

    const QString path = document(QStringLiteral("incoming.tif"), 2);
    form.EnqueueFile(path);
    DialogSeen seen;
    form.NewDocForm().setRunner(Press(&TNewDocForm::btAdd, seen));
    tick();

    EXPECT_EQ(seen.runs, 1);
    EXPECT_EQ(seen.captions, QStringList({"111 (Ann)", "222 (Bob)"}));
    EXPECT_EQ(seen.incomingPages, 2);
    EXPECT_TRUE(seen.addEnabled);
    EXPECT_EQ(seen.chosen, editors.at(1));
    EXPECT_EQ(editors.at(0)->pages().count(), 1);
    ASSERT_EQ(editors.at(1)->pages().count(), 3);
    EXPECT_EQ(editors.at(1)->pages().page(2).width(), 201);
    EXPECT_TRUE(QFile::exists(path)) << "the handed-over file stays where it is";
    EXPECT_EQ(form.NewDocForm().openDocumentCount(), 0);
    EXPECT_TRUE(form.NewDocForm().incomingPages().empty());
    EXPECT_TRUE(m_prompter.shown().empty());
}

TEST_F(IntakeStart, NewOpensAnEditorOnTheHandedOverFile)
{
    TFaxHideForm& form = start({QStringLiteral("--new")});
    form.EnqueueFile(document(QStringLiteral("new.tif"), 1));
    DialogSeen seen;
    form.NewDocForm().setRunner(Press(&TNewDocForm::btNew, seen));
    tick();
    EXPECT_EQ(seen.runs, 1);
    EXPECT_EQ(form.EditorWindows().size(), 2);
}

TEST_F(IntakeStart, CancelDropsTheFileAndKeepsIt)
{
    TFaxHideForm& form = start({QStringLiteral("--new")});
    const QString path = document(QStringLiteral("cancel.tif"), 1);
    form.EnqueueFile(path);
    DialogSeen seen;
    form.NewDocForm().setRunner(Press(&TNewDocForm::btCancel, seen));
    tick();
    EXPECT_EQ(seen.runs, 1);
    EXPECT_EQ(form.EditorWindows().size(), 1);
    EXPECT_EQ(form.EditorWindows().first()->pages().count(), 1);
    EXPECT_EQ(form.DequeueFile(), QString());
    EXPECT_TRUE(QFile::exists(path));
}

TEST_F(IntakeStart, EditorWithoutPagesIsNotOfferedAndAddIsDisabled)
{
    TFaxHideForm& form = start({QStringLiteral("--new")});
    form.EditorWindows().first()->pages().clear();
    form.EnqueueFile(document(QStringLiteral("alone.tif"), 1));
    DialogSeen seen;
    form.NewDocForm().setRunner(Press(&TNewDocForm::btNew, seen));
    tick();
    EXPECT_TRUE(seen.captions.isEmpty());
    EXPECT_FALSE(seen.addEnabled);
    EXPECT_EQ(form.EditorWindows().size(), 2);
}

TEST_F(IntakeStart, OnePathPerTick)
{
    TFaxHideForm& form = start({QStringLiteral("--new")});
    form.EnqueueFile(document(QStringLiteral("one.tif"), 1));
    form.EnqueueFile(document(QStringLiteral("two.tif"), 1));
    DialogSeen seen;
    form.NewDocForm().setRunner(Press(&TNewDocForm::btCancel, seen));
    tick();
    EXPECT_EQ(seen.runs, 1);
    tick();
    EXPECT_EQ(seen.runs, 2);
}

TEST_F(IntakeStart, PathsThatNameNoReadableFileAreDroppedSilently)
{
    TFaxHideForm& form = start({QStringLiteral("--new")});
    QDir().mkpath(m_root.filePath(QStringLiteral("docs/folder.tif")));
    form.EnqueueFile(m_root.filePath(QStringLiteral("docs/gone.tif")));
    form.EnqueueFile(m_root.filePath(QStringLiteral("docs/folder.tif")));
    form.EnqueueFile(QStringLiteral("/dev/zero"));
    DialogSeen seen;
    form.NewDocForm().setRunner(Press(&TNewDocForm::btCancel, seen));
    tick();
    tick();
    tick();
    EXPECT_EQ(seen.runs, 0);
    EXPECT_TRUE(m_prompter.shown().empty());
    EXPECT_EQ(form.EditorWindows().size(), 1);
}

TEST_F(IntakeStart, UnreadableDocumentIsReportedAndTheTimerGoesOn)
{
    TFaxHideForm& form = start({QStringLiteral("--new")});
    const QString path = m_root.filePath(QStringLiteral("docs/broken.tif"));
    testfiles::write(path, "this is no picture at all");
    form.EnqueueFile(path);
    DialogSeen seen;
    form.NewDocForm().setRunner(Press(&TNewDocForm::btAdd, seen));
    QSignalSpy finished(&form, &TFaxHideForm::finished);
    tick();
    EXPECT_EQ(seen.runs, 0);
    ASSERT_EQ(m_prompter.shown().size(), 1u);
    EXPECT_EQ(m_prompter.shown().front().icon, Prompter::Icon::Error);
    EXPECT_EQ(form.NewDocForm().openDocumentCount(), 0);
    EXPECT_EQ(finished.count(), 0);
}

TEST_F(IntakeStart, TickAfterTheLastEditorClosedEndsTheProcess)
{
    TFaxHideForm& form = start({QStringLiteral("--new")});
    QSignalSpy finished(&form, &TFaxHideForm::finished);
    tick();
    EXPECT_EQ(finished.count(), 0);
    form.EditorWindows().first()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    // The real timer, not a tick by hand: it must still be running.
    EXPECT_TRUE(finished.wait(3 * TFaxHideForm::kWatchIntervalMs));
}

TEST_F(IntakeStart, HandedOverPathReachesTheDialogThroughTheServer)
{
    // The whole road inside one process: a document arrives over the
    // loopback, and the next tick offers it next to the open document.
    TFaxHideForm& form = start({document(QStringLiteral("first.tif"), 1)});
    ASSERT_TRUE(form.isCommandServerActive());
    TFaxEditForm* editor = form.EditorWindows().first();
    QSignalSpy loaded(editor, &TFaxEditForm::startupLoadFinished);
    ASSERT_TRUE(editor->startupLoadDone() || loaded.wait(5000));

    const QString second = document(QStringLiteral("second.tif"), 3);
    QTcpSocket client;
    client.connectToHost(QHostAddress(QHostAddress::LocalHost), m_port);
    ASSERT_TRUE(client.waitForConnected(3000));
    client.write(QStringLiteral("open\t\"%1\"\r\n").arg(second).toUtf8());
    client.waitForBytesWritten(3000);
    ASSERT_TRUE(client.waitForDisconnected(3000));

    DialogSeen seen;
    form.NewDocForm().setRunner(Press(&TNewDocForm::btAdd, seen));
    tick();
    EXPECT_EQ(seen.runs, 1);
    EXPECT_EQ(seen.captions, QStringList({"(first)"}));
    EXPECT_EQ(seen.incomingPages, 3);
    EXPECT_EQ(editor->pages().count(), 4);
}
} // namespace

namespace {
TEST_F(IntakeStart, HandOffIsAnsweredWhileTheIntakeDialogWaitsForTheUser)
{
    TFaxHideForm& form = start({document(QStringLiteral("first.tif"), 1)});
    ASSERT_TRUE(form.isCommandServerActive());
    form.EnqueueFile(document(QStringLiteral("second.tif"), 1));
    const QString third = document(QStringLiteral("third.tif"), 1);
    bool handedOver = false;
    form.NewDocForm().setRunner([this, &third, &handedOver](TNewDocForm& dialog) {
        // The user has not answered yet; meanwhile another start hands over.
        handedOver = FileHandOff::HandOver(third, m_port).ok();
        return dialog.kResultCancel;
    });
    tick();
    EXPECT_TRUE(handedOver);
    EXPECT_EQ(form.DequeueFile(), third);
}
} // namespace
