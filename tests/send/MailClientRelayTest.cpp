#include "send/core/MailClientRelay.h"
#include "send/core/TMapiControl.h"
#include "send/core/XdgEmailClient.h"

#include "i18n/core/LanguageManager.h"
#include "send/core/MessageCharset.h"
#include "tests/send/RecordingMailDesktop.h"
#include "tests/send/RelaysTestSupport.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QPointer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

constexpr int kHandOffWaitMs = 15000;

std::unique_ptr<TMapiControl> controlOn(const RecordingMailDesktop& desktop,
                                        const QString& program = "xdg-email")
{
    return std::make_unique<TMapiControl>(
        std::make_unique<XdgEmailClient>(nullptr, program, desktop.environment()));
}

struct EventSpies
{
    explicit EventSpies(TMapiControl* control)
        : success(control, &TMapiControl::OnSuccess), abort(control, &TMapiControl::OnUserAbort),
          error(control, &TMapiControl::OnMapiError)
    {
    }
    int events() const { return int(success.count() + abort.count() + error.count()); }
    // Waits for the one event of a hand-off.
    bool waitForEnd()
    {
        return QTest::qWaitFor([this] { return events() > 0; }, kHandOffWaitMs);
    }
    QSignalSpy success;
    QSignalSpy abort;
    QSignalSpy error;
};

class TMapiControlTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(desktop.isValid()); }

    QString attachment(const QString& name)
    {
        const QString path = desktop.filePath(name);
        testfiles::write(path, relaystest::sampleImageBytes());
        return path;
    }

    RecordingMailDesktop desktop;
};

TEST_F(TMapiControlTest, StartsEmptyAndResetEmptiesTextsAndLists)
{
    TMapiControl control;
    EXPECT_FALSE(control.ShowDialog());
    EXPECT_FALSE(control.UseAppHandle());
    control.setSubject("s");
    control.setBody("b");
    control.setFromName("n");
    control.setFromAdress("a@b.c");
    control.setRecipients({"x@y.z"});
    control.setCopyTo({"c@y.z"});
    control.setBlindCopyTo({"d@y.z"});
    control.setAttachedFiles({"/tmp/f.tif"});
    control.Reset();
    EXPECT_TRUE(control.Subject().isEmpty() && control.Body().isEmpty());
    EXPECT_TRUE(control.FromName().isEmpty() && control.FromAdress().isEmpty());
    EXPECT_TRUE(control.Recipients().isEmpty() && control.CopyTo().isEmpty());
    EXPECT_TRUE(control.BlindCopyTo().isEmpty() && control.AttachedFiles().isEmpty());
    EXPECT_TRUE(control.DisplayFileName().isEmpty());
}

// xdg-email builds one mailto: address; the first To recipient is its
// address, every further one a "to" field, the files "attach" fields.
TEST_F(TMapiControlTest, MailProgramReceivesRecipientsSubjectTextAndFiles)
{
    const QString image = attachment("file_20150305090700123.tif");
    const QString list = attachment("multyfax_20150305_090700.txt");
    auto control = controlOn(desktop);
    control->setRecipients({"fax@gateway.example.net", "second@example.net", "third@example.net"});
    control->setCopyTo({"copy@example.net"});
    control->setBlindCopyTo({"hidden@example.net"});
    control->setSubject("123456 (Мой клиент) & more");
    control->setBody("Please do not change message text!\r\n\r\nX-Name=4711\r\nX-FaxFile=a.tif");
    control->setAttachedFiles({image, list});
    control->setShowDialog(true);
    EventSpies spies(control.get());

    control->SendMail();

    ASSERT_TRUE(spies.waitForEnd());
    EXPECT_EQ(spies.success.count(), 1);
    EXPECT_EQ(spies.error.count(), 0);
    EXPECT_EQ(control->DisplayFileName(),
              QStringList({"file_20150305090700123.tif", "multyfax_20150305_090700.txt"}));
    const QStringList arguments = desktop.recordedArguments();
    ASSERT_EQ(arguments.size(), 1);
    const auto mailto = RecordingMailDesktop::parseMailto(arguments.first());
    EXPECT_EQ(mailto.to, "fax@gateway.example.net");
    EXPECT_EQ(mailto.values("to"), QStringList({"second@example.net", "third@example.net"}));
    EXPECT_EQ(mailto.values("cc"), QStringList{"copy@example.net"});
    EXPECT_EQ(mailto.values("bcc"), QStringList{"hidden@example.net"});
    EXPECT_EQ(mailto.value("subject"), "123456 (Мой клиент) & more");
    EXPECT_EQ(mailto.value("body"),
              "Please do not change message text!\r\n\r\nX-Name=4711\r\nX-FaxFile=a.tif");
    EXPECT_EQ(mailto.values("attach"), QStringList({image, list}));
}

TEST_F(TMapiControlTest, EmptySubjectIsLeftOutAndNoAttachmentMeansNone)
{
    auto control = controlOn(desktop);
    control->setRecipients({"fax@gateway.example.net"});
    control->setBody("text");
    EventSpies spies(control.get());

    control->SendMail();

    ASSERT_TRUE(spies.waitForEnd());
    EXPECT_EQ(spies.success.count(), 1);
    EXPECT_TRUE(control->DisplayFileName().isEmpty());
    const auto mailto = RecordingMailDesktop::parseMailto(desktop.recordedArguments().value(0));
    EXPECT_TRUE(mailto.values("subject").isEmpty());
    EXPECT_TRUE(mailto.values("attach").isEmpty());
    EXPECT_EQ(mailto.value("body"), "text");
}

struct FailureCase
{
    const char* name;
    QString program;
    QStringList recipients;
    bool missingAttachment;
    qint32 expectedCode;
};

void PrintTo(const FailureCase& row, std::ostream* os)
{
    *os << row.name;
}

class TMapiControlFailureTest : public TMapiControlTest,
                                public ::testing::WithParamInterface<FailureCase>
{
};

TEST_P(TMapiControlFailureTest, RaisesOnMapiErrorOnceWithTheStatus)
{
    const FailureCase& row = GetParam();
    auto control = controlOn(desktop, row.program);
    control->setRecipients(row.recipients);
    control->setBody("text");
    control->setAttachedFiles(
        {row.missingAttachment ? desktop.filePath("gone.tif") : attachment("here.tif")});
    EventSpies spies(control.get());

    control->SendMail();

    ASSERT_TRUE(spies.waitForEnd());
    ASSERT_EQ(spies.error.count(), 1);
    EXPECT_EQ(spies.error.first().first().toInt(), row.expectedCode);
    EXPECT_EQ(spies.success.count(), 0);
    EXPECT_EQ(spies.abort.count(), 0);
    EXPECT_FALSE(desktop.wasStarted());
}

INSTANTIATE_TEST_SUITE_P(
    Failures, TMapiControlFailureTest,
    ::testing::Values(FailureCase{"MissingXdgEmail",
                                  "/nonexistent/xdg-email",
                                  {"fax@gateway.example.net"},
                                  false,
                                  XdgEmailClient::kProgramNotStarted},
                      FailureCase{
                          "MissingAttachment", "xdg-email", {"fax@gateway.example.net"}, true, 2},
                      FailureCase{"RecipientWithoutAt", "xdg-email", {"gateway"}, false, 1}),
    [](const ::testing::TestParamInfo<FailureCase>& info) { return std::string(info.param.name); });

class MailClientRelayTest : public TMapiControlTest
{
protected:
    void SetUp() override
    {
        TMapiControlTest::SetUp();
        image = attachment("file_20150305090700123.tif");
        request = relaystest::sampleRequest(image);
    }

    // Runs the relay and waits for the hand-off's end.
    std::pair<Status, QStringList> runRelay()
    {
        auto control = controlOn(desktop);
        EventSpies spies(control.get());
        QPointer<TMapiControl> watched = control.get();
        hiddenBeforeHandOff = false;
        const Status status = relay.run(std::move(control), &owner, request,
                                        LangConst("SSendFaxMessage1"), relaystest::sampleSendTime(),
                                        [this] { hiddenBeforeHandOff = !desktop.wasStarted(); });
        if (status.ok()) {
            EXPECT_TRUE(spies.waitForEnd());
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(watched.isNull()) << "the control is deleted after its event";
        return {status, desktop.recordedArguments()};
    }

    QTemporaryDir outbox;
    // The list file goes to the temporary folder; each test gets its own.
    relaystest::ScopedTempFolder tempFolder{outbox.path()};
    MailClientRelay relay{MailAttachmentStore(outbox.filePath("quillon2-outbox"))};
    QObject owner;
    QString image;
    FaxRequest request;
    bool hiddenBeforeHandOff = false;
};

TEST_F(MailClientRelayTest, TextIsNoticeEmptyLineAndParametersWithOptionalOnes)
{
    request.additional.sendDateTime = relaystest::sampleSendTime();
    request.additional.debug = true;

    const auto [status, arguments] = runRelay();

    ASSERT_TRUE(status.ok()) << status.text().toStdString();
    EXPECT_TRUE(hiddenBeforeHandOff);
    const auto mailto = RecordingMailDesktop::parseMailto(arguments.value(0));
    EXPECT_EQ(mailto.to, "fax@gateway.example.net");
    EXPECT_EQ(mailto.value("subject"), "123456 (Мой клиент)");
    const QStringList lines = mailto.value("body").split("\r\n");
    EXPECT_EQ(lines,
              QStringList({"Please do not change message text!", "", "X-Name=4711",
                           "X-Password=0123456789abcdef0123456789abcdef", "X-LanguageID=$0419",
                           "X-Version=2.0.0.1", "X-PassMode=1", "X-SendDT=05.03.2015 09:07:00",
                           "X-Debug=Y", "X-FaxFile=file_20150305090700123.tif"}));
}

// The mail program reads its attachments when it pleases: it gets copies in
// the outbox, which outlive the editor's deletion of its fax image.
TEST_F(MailClientRelayTest, AttachesOutboxCopiesThatOutliveTheFaxImage)
{
    const auto [status, arguments] = runRelay();
    ASSERT_TRUE(status.ok());
    QFile::remove(image); // the editor closes after the hand-off

    const QStringList attached =
        RecordingMailDesktop::parseMailto(arguments.value(0)).values("attach");
    ASSERT_EQ(attached.size(), 1);
    EXPECT_TRUE(attached.first().startsWith(outbox.filePath("quillon2-outbox") + "/"));
    EXPECT_TRUE(attached.first().endsWith("/file_20150305090700123.tif"));
    EXPECT_EQ(testfiles::read(attached.first()), relaystest::sampleImageBytes());
}

TEST_F(MailClientRelayTest, WithoutAUsableOutboxNothingIsHandedOver)
{
    // The original would be deleted with the editor before the mail program
    // reads it: an outbox planted by someone else stops the send instead.
    QTemporaryDir elsewhere;
    ASSERT_TRUE(QFile::link(elsewhere.path(), outbox.filePath("quillon2-outbox")));

    const auto [status, arguments] = runRelay();

    EXPECT_FALSE(status.ok());
    EXPECT_FALSE(status.text().isEmpty());
    EXPECT_TRUE(arguments.isEmpty()) << "the mail program must not be started";
    EXPECT_TRUE(QFile::exists(image));
}

TEST_F(MailClientRelayTest, MultiAddressModeAttachesTheListAndNamesItLast)
{
    request.subject.clear();
    request.additional.multiFax = true;
    request.additional.multiFaxNumbers = {"123456 (Первый)", "7890"};

    const auto [status, arguments] = runRelay();

    ASSERT_TRUE(status.ok());
    const auto mailto = RecordingMailDesktop::parseMailto(arguments.value(0));
    const QStringList attached = mailto.values("attach");
    ASSERT_EQ(attached.size(), 2);
    EXPECT_TRUE(attached[1].endsWith("/multyfax_20150305_090700.txt"));
    EXPECT_EQ(testfiles::read(attached[1]), MessageCharset::encode("123456 (Первый)\r\n7890\r\n"));
    const QStringList lines = mailto.value("body").split("\r\n");
    EXPECT_EQ(lines.value(lines.size() - 2), "X-FaxFile=file_20150305090700123.tif");
    EXPECT_EQ(lines.last(), "X-MultyFax=" + attached[1]);
    EXPECT_TRUE(mailto.values("subject").isEmpty());
    EXPECT_FALSE(QFile::exists(MailClientRelay::listFilePath(relaystest::sampleSendTime())))
        << "the list file in the temporary folder is gone, the mail program has its copy";
}

// The send command does not look at the hand-off's outcome; the relay still
// reports the failure through the control's event for whoever listens.
TEST_F(MailClientRelayTest, FailedHandOffStillCountsAsHandedOver)
{
    auto control = std::make_unique<TMapiControl>(
        std::make_unique<XdgEmailClient>(nullptr, "/nonexistent/xdg-email", desktop.environment()));
    EventSpies spies(control.get());

    const Status status =
        relay.run(std::move(control), &owner, request, "notice", relaystest::sampleSendTime(), {});

    EXPECT_TRUE(status.ok());
    ASSERT_TRUE(spies.waitForEnd());
    ASSERT_EQ(spies.error.count(), 1);
    EXPECT_EQ(spies.error.first().first().toInt(), XdgEmailClient::kProgramNotStarted);
    EXPECT_FALSE(MailClientRelay::failureText(XdgEmailClient::kProgramNotStarted).isEmpty());
}

} // namespace
