// A whole send from the editor window through a real SMTP server: the window
// closes, the fax image goes with it, and the number heads the history.
#include "tests/editor/EditorSupportUiTest.h"

#include "editor/core/PageList.h"
#include "editor/ui/FaxNumberBox.h"
#include "send/ui/SendFaxCommand.h"
#include "tests/send/SmtpTestServer.h"

#include <QAction>
#include <QFileInfo>

using namespace editorui;

class EditorSendUiTest : public EditorWindowTest
{
protected:
    void useServer(const SmtpTestServer& server)
    {
        host.settings.EMailSendMethod = SendFaxCommand::RelayInternal;
        host.settings.EMailServer = QStringLiteral("127.0.0.1");
        host.settings.EMailServerPort = server.port();
        host.settings.ReplyAddress = QStringLiteral("client@example.com");
        host.settings.CardName = QStringLiteral("4711");
        host.settings.PassMode = 1;
        host.settings.LanguageID = 1033;
        host.settings.LastFaxNumbers = {QStringLiteral("999 (Older)")};
    }

    TFaxEditForm& openScan()
    {
        const QString path = spoolPath(QStringLiteral("scan.tif"));
        WriteTestTiff(path, MixedDocument());
        TFaxEditForm& editor = openEditor(path);
        editor.sendCommand().setSuccessWait(10);
        editor.cbFaxNumber()->setEditText(QStringLiteral("123456 (scan)"));
        return editor;
    }
};

TEST_F(EditorSendUiTest, ASuccessfulSendClosesTheWindowAndDeletesTheFaxImage)
{
    SmtpTestServer server;
    ASSERT_TRUE(server.isRunning());
    useServer(server);
    TFaxEditForm& editor = openScan();

    editor.action(QStringLiteral("acSendFax"))->trigger();
    const QString faxImage = editor.documentFile();

    ASSERT_TRUE(WaitFor([this] { return form.isNull(); }, 15000))
        << host.prompts.texts().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(server.messages().size(), 1u);
    EXPECT_EQ(QFileInfo(faxImage).suffix(), QStringLiteral("tif"));
    EXPECT_FALSE(QFileInfo::exists(faxImage));
    EXPECT_EQ(host.settings.LastFaxNumbers,
              QStringList({QStringLiteral("123456 (scan)"), QStringLiteral("999 (Older)")}));
    EXPECT_EQ(host.settingsSaves, 1);
    EXPECT_TRUE(host.prompts.shown().empty());
}

TEST_F(EditorSendUiTest, AFailedSendShowsTheWindowAgainAndKeepsTheFaxImage)
{
    SmtpTestServer server({QStringLiteral("--reject-rcpt")});
    ASSERT_TRUE(server.isRunning());
    useServer(server);
    TFaxEditForm& editor = openScan();

    editor.action(QStringLiteral("acSendFax"))->trigger();

    ASSERT_TRUE(WaitFor([this] { return !host.prompts.shown().empty(); }, 15000));
    ASSERT_FALSE(form.isNull());
    EXPECT_TRUE(editor.isVisible());
    EXPECT_FALSE(editor.sent());
    EXPECT_TRUE(host.prompts.texts().at(0).startsWith(QStringLiteral("Send message error:")));
    EXPECT_TRUE(QFileInfo::exists(editor.documentFile()));
    EXPECT_EQ(host.settings.LastFaxNumbers, QStringList{QStringLiteral("999 (Older)")});
    EXPECT_EQ(host.settingsSaves, 0);
    // Shown again, the window keeps its document and loads nothing anew.
    EXPECT_EQ(editor.pages().count(), 4);
}
