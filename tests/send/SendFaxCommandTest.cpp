#include "send/ui/SendFaxCommand.h"

#include "editor/core/PageList.h"
#include "i18n/core/LocalizedConstants.h"
#include "send/core/FileOpener.h"
#include "send/core/MailClient.h"
#include "send/core/TMapiControl.h"
#include "send/ui/SendFaxHost.h"
#include "send/ui/TFaxSendProgressForm.h"
#include "settings/core/TIni.h"

#include "tests/send/MessageParser.h"
#include "tests/send/SmtpTestServer.h"
#include "tests/support/ScriptedPrompter.h"
#include "tests/support/TestFiles.h"

#include <QFile>
#include <QJsonArray>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

constexpr int kWaitMs = 30000;

// An editor window without a window: it records what the command does to it.
class TestHost : public SendFaxHost
{
public:
    QString faxNumberText() const override { return numberText; }
    void focusFaxNumber() override { ++focusCount; }
    int pageCount() const override { return pageList.count(); }
    bool ApplyPageChanges() override { return applyAnswer; }
    PageList& pages() override { return pageList; }
    QString documentFile() const override { return file; }
    void setDocumentFile(const QString& path) override { file = path; }
    void hideWindow() override { visible = false; }
    void showWindow() override { visible = true; }
    void closeWindow() override { closed = true; }
    void setSent(bool value) override { sent = value; }
    TIni& settings() override { return ini; }
    void SaveSettings() override { ++saveCount; }
    Prompter& prompter() override { return prompts; }
    AdditionalParameters additionalParameters() const override { return additional; }

    QString numberText = "123456 (My Favorite Client)";
    int focusCount = 0;
    bool applyAnswer = true;
    PageList pageList;
    QString file;
    bool visible = true;
    bool closed = false;
    bool sent = false;
    TIni ini;
    int saveCount = 0;
    ScriptedPrompter prompts;
    AdditionalParameters additional;
};

class SendFaxCommandTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        host.file = folder.filePath("file_20150305090700123.bmp");
        host.pageList.append(Page::blank(QSize(200, 300)));
        host.pageList.append(Page::blank(QSize(200, 300)));
        host.ini.EMailSendMethod = SendFaxCommand::RelayInternal;
        host.ini.EMailServer = "127.0.0.1";
        host.ini.HistoryCount = 20;
        host.ini.LastFaxNumbers = {"999 (Older)"};
        host.ini.PassMode = 1;
        host.ini.LanguageID = 1033;
        host.ini.ReplyAddress = "client@example.com";
        host.ini.CardName = "4711";
        command.setSuccessWait(10);
    }

    QString faxImagePath() const { return folder.filePath("file_20150305090700123.tif"); }

    bool runToEnd(QSignalSpy& completed)
    {
        command.acSendFaxExecute();
        return !completed.isEmpty() || completed.wait(kWaitMs);
    }

    QTemporaryDir folder;
    TestHost host;
    LocalizedConstants texts;
    TFaxSendProgressForm progress;
    SendFaxCommand command{host, texts, &progress};
};

struct StopCase
{
    const char* name;
    void (*arrange)(TestHost&);
    QStringList messages;
    int focusCount;
};

void PrintTo(const StopCase& c, std::ostream* os)
{
    *os << c.name;
}

class SendFaxStopTest : public SendFaxCommandTest, public ::testing::WithParamInterface<StopCase>
{
};

TEST_P(SendFaxStopTest, EndsBeforeWritingAnything)
{
    GetParam().arrange(host);
    command.acSendFaxExecute();
    EXPECT_EQ(host.prompts.texts(), GetParam().messages);
    EXPECT_EQ(host.focusCount, GetParam().focusCount);
    EXPECT_TRUE(host.visible);
    EXPECT_FALSE(QFile::exists(faxImagePath()));
    EXPECT_TRUE(host.file.endsWith(".bmp"));
    EXPECT_FALSE(command.isRunning());
}

INSTANTIATE_TEST_SUITE_P(
    Checks, SendFaxStopTest,
    ::testing::Values(
        StopCase{"NoNumber",
                 [](TestHost& h) { h.numberText = "(My Favorite Client)"; },
                 {"Please full phone number!"},
                 1},
        StopCase{"LeadingPlus",
                 [](TestHost& h) { h.numberText = "+49 30 1234"; },
                 {"Please full phone number!"},
                 1},
        StopCase{"NoPages", [](TestHost& h) { h.pageList.clear(); }, {"No pages to send!"}, 0},
        StopCase{"CancelAtApply", [](TestHost& h) { h.applyAnswer = false; }, {}, 0}),
    [](const ::testing::TestParamInfo<StopCase>& info) { return info.param.name; });

TEST_F(SendFaxCommandTest, UnknownRelayEndsAfterTheFaxImage)
{
    host.ini.EMailSendMethod = 7;
    command.acSendFaxExecute();
    EXPECT_EQ(host.file, faxImagePath());
    EXPECT_TRUE(QFile::exists(faxImagePath()));
    EXPECT_TRUE(host.visible);
    EXPECT_TRUE(host.prompts.texts().isEmpty());
    EXPECT_FALSE(command.isRunning());
    EXPECT_EQ(host.ini.LastFaxNumbers, QStringList{"999 (Older)"});
}

TEST_F(SendFaxCommandTest, OutputResolutionChangesTheFaxImageNotTheDocument)
{
    // A failed attempt leaves the editor open; its pages must still be the
    // ones the user sees, or the next attempt would send them misscaled.
    host.ini.EMailSendMethod = 7;
    host.ini.ChangeOutputDPI = true;
    host.ini.OutputDPI = 300;
    const QSize before = host.pageList.page(0).image().size();
    const int dpiBefore = host.pageList.page(0).parameters().dpiX;
    ASSERT_NE(dpiBefore, 300);
    command.acSendFaxExecute();
    ASSERT_TRUE(QFile::exists(faxImagePath()));
    EXPECT_EQ(host.pageList.page(0).image().size(), before);
    EXPECT_EQ(host.pageList.page(0).parameters().dpiX, dpiBefore);
}

// Records the files the desktop was asked to open.
class RecordingOpener : public FileOpener
{
public:
    explicit RecordingOpener(QStringList& opened) : m_opened(opened) {}
    bool open(const QString& path) override
    {
        m_opened << path;
        return false;
    }

private:
    QStringList& m_opened;
};

TEST_F(SendFaxCommandTest, MessageFileRelaySavesOpensAndCloses)
{
    host.ini.EMailSendMethod = SendFaxCommand::RelayMessageFile;
    QStringList opened;
    command.setFileOpener(std::make_unique<RecordingOpener>(opened));
    QSignalSpy completed(&command, &SendFaxCommand::completed);
    ASSERT_TRUE(runToEnd(completed));
    EXPECT_TRUE(completed.at(0).at(0).toBool()) << "the opener's answer is not examined";
    ASSERT_EQ(opened.size(), 1);
    const QByteArray message = testfiles::read(opened.first());
    QFile::remove(opened.first());
    const QJsonObject parsed = messageparser::parse(message);
    const QByteArray text =
        messageparser::partBytes(parsed.value("parts").toArray().at(0).toObject());
    EXPECT_TRUE(text.startsWith("Please do not change message text! For sending email"));
    EXPECT_TRUE(text.contains("\r\nX-FaxFile=file_20150305090700123.tif\r\n"));
    EXPECT_EQ(host.ini.LastFaxNumbers.value(0), host.numberText);
    EXPECT_TRUE(host.closed);
    EXPECT_TRUE(host.sent);
}

// A mail program that takes every message at once.
class AcceptingMailClient : public MailClient
{
public:
    explicit AcceptingMailClient(std::vector<MailClientMessage>& sent) : m_sent(sent) {}
    void send(const MailClientMessage& message) override
    {
        m_sent.push_back(message);
        QTimer::singleShot(0, this, &MailClient::handedOver);
    }

private:
    std::vector<MailClientMessage>& m_sent;
};

TEST_F(SendFaxCommandTest, MailClientRelayHandsOverAndCloses)
{
    const QByteArray savedTemp = qgetenv("TMPDIR");
    qputenv("TMPDIR", folder.path().toLocal8Bit());
    host.ini.EMailSendMethod = SendFaxCommand::RelayMailClient;
    std::vector<MailClientMessage> sent;
    command.setMailControlFactory([&sent] {
        return std::make_unique<TMapiControl>(std::make_unique<AcceptingMailClient>(sent));
    });
    QSignalSpy completed(&command, &SendFaxCommand::completed);
    const bool ended = runToEnd(completed);
    qputenv("TMPDIR", savedTemp);
    ASSERT_TRUE(ended);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].subject, host.numberText);
    EXPECT_TRUE(sent[0].body.startsWith("Please do not change message text!\r\n\r\nX-Name=4711"));
    ASSERT_EQ(sent[0].attachmentPaths.size(), 1);
    EXPECT_TRUE(sent[0].attachmentPaths[0].endsWith("file_20150305090700123.tif"));
    EXPECT_TRUE(host.closed);
    EXPECT_EQ(host.ini.LastFaxNumbers.value(0), host.numberText);
}

TEST_F(SendFaxCommandTest, MultiAddressModeSkipsTheNumberCheck)
{
    host.numberText.clear();
    host.additional.multiFax = true;
    host.additional.multiFaxNumbers = {"111", "222"};
    host.ini.EMailSendMethod = 7;
    command.acSendFaxExecute();
    EXPECT_TRUE(host.prompts.texts().isEmpty());
    EXPECT_TRUE(QFile::exists(faxImagePath()));
}

TEST_F(SendFaxCommandTest, SmtpFailureKeepsTheImageAndTheHistory)
{
    SmtpTestServer server({"--reject-rcpt"});
    ASSERT_TRUE(server.isRunning());
    host.ini.EMailServerPort = server.port();
    QSignalSpy completed(&command, &SendFaxCommand::completed);
    ASSERT_TRUE(runToEnd(completed));
    EXPECT_FALSE(completed.at(0).at(0).toBool());
    EXPECT_EQ(host.prompts.texts(),
              QStringList{"Send message error: \"550 5.1.1 No such user here\". Check mail "
                          "settings!"});
    EXPECT_TRUE(host.visible);
    EXPECT_FALSE(progress.isVisible());
    EXPECT_TRUE(QFile::exists(faxImagePath()));
    EXPECT_EQ(host.ini.LastFaxNumbers, QStringList{"999 (Older)"});
    EXPECT_FALSE(host.sent);
    EXPECT_FALSE(host.closed);
    EXPECT_EQ(host.saveCount, 0);
}

TEST_F(SendFaxCommandTest, NoServerSetShowsTheWindowAgainWithAnEmptyReason)
{
    host.ini.EMailServer.clear();
    QSignalSpy completed(&command, &SendFaxCommand::completed);
    ASSERT_TRUE(runToEnd(completed));
    EXPECT_EQ(host.prompts.texts(), QStringList{"Send message error: \"\". Check mail settings!"});
    EXPECT_TRUE(host.visible);
}

TEST_F(SendFaxCommandTest, SuccessRecordsTheNumberSavesAndCloses)
{
    SmtpTestServer server;
    ASSERT_TRUE(server.isRunning());
    host.ini.EMailServerPort = server.port();
    QSignalSpy completed(&command, &SendFaxCommand::completed);
    ASSERT_TRUE(runToEnd(completed));
    EXPECT_TRUE(completed.at(0).at(0).toBool());
    EXPECT_TRUE(host.prompts.texts().isEmpty()) << host.prompts.texts().join('|').toStdString();
    EXPECT_EQ(host.ini.LastFaxNumbers, QStringList({"123456 (My Favorite Client)", "999 (Older)"}));
    EXPECT_TRUE(host.sent);
    EXPECT_TRUE(host.closed);
    EXPECT_EQ(host.saveCount, 1);
    EXPECT_FALSE(host.visible);
    EXPECT_FALSE(progress.isVisible());

    const auto received = server.messages();
    ASSERT_EQ(received.size(), 1u);
    const QJsonObject parsed = messageparser::parse(received[0].message);
    EXPECT_EQ(messageparser::header(parsed, "Subject"), "123456 (My Favorite Client)");
    EXPECT_EQ(messageparser::header(parsed, "X-FaxFile"), "file_20150305090700123.tif");
    EXPECT_EQ(messageparser::header(parsed, "X-Name"), "4711");
    EXPECT_EQ(messageparser::header(parsed, "X-Password").size(), 32);
}

TEST_F(SendFaxCommandTest, ProgressWindowStaysShownThroughTheFinalWait)
{
    SmtpTestServer server;
    ASSERT_TRUE(server.isRunning());
    host.ini.EMailServerPort = server.port();
    command.setSuccessWait(SendFaxCommand::kSuccessWaitMs);
    QSignalSpy accepted(&command.relay(), &SmtpRelay::finished);
    command.acSendFaxExecute();
    ASSERT_TRUE(accepted.wait(kWaitMs));
    EXPECT_TRUE(progress.isVisible());
    EXPECT_TRUE(progress.statusLines().contains("Connected."));
    EXPECT_FALSE(host.closed);
    QSignalSpy completed(&command, &SendFaxCommand::completed);
    ASSERT_TRUE(completed.wait(kWaitMs));
    EXPECT_FALSE(progress.isVisible());
    EXPECT_TRUE(host.closed);
}

TEST_F(SendFaxCommandTest, RetryAfterFailureSendsAFreshRequest)
{
    {
        SmtpTestServer refusing({"--reject-rcpt"});
        host.ini.EMailServerPort = refusing.port();
        QSignalSpy completed(&command, &SendFaxCommand::completed);
        ASSERT_TRUE(runToEnd(completed));
    }
    QFile::remove(faxImagePath());
    SmtpTestServer server;
    host.ini.EMailServerPort = server.port();
    QSignalSpy completed(&command, &SendFaxCommand::completed);
    ASSERT_TRUE(runToEnd(completed));
    EXPECT_TRUE(completed.at(0).at(0).toBool());
    EXPECT_TRUE(QFile::exists(faxImagePath())) << "the image is written again";
    const auto received = server.messages();
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].envelope.value("rcpt_tos").toArray().size(), 1);
    const QJsonObject parsed = messageparser::parse(received[0].message);
    EXPECT_EQ(parsed.value("parts").toArray().size(), 2);
}

} // namespace
