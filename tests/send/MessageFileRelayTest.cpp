#include "send/core/MessageFileRelay.h"

#include "app/core/TempFolder.h"
#include "i18n/core/LanguageManager.h"
#include "send/core/FileOpener.h"
#include "send/core/MessageCharset.h"
#include "send/core/MimeComposer.h"
#include "send/core/XdgFileOpener.h"
#include "tests/send/MessageParser.h"
#include "tests/send/RecordingMailDesktop.h"
#include "tests/send/RelaysTestSupport.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QJsonArray>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using messageparser::header;
using messageparser::headerNames;
using messageparser::partBytes;

// Stands in for the desktop's association: records what it was asked to open.
class RecordingOpener : public FileOpener
{
public:
    bool open(const QString& path) override
    {
        opened << path;
        return answer;
    }
    QStringList opened;
    bool answer = true;
};

class MessageFileRelayTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(temp.isValid() && work.isValid());
        image = work.filePath("file_20150305090700123.tif");
        testfiles::write(image, relaystest::sampleImageBytes());
        request = relaystest::sampleRequest(image);
    }

    QJsonObject runAndParse(const QString& notice)
    {
        const Result<QString> path =
            MessageFileRelay::run(request, notice, relaystest::sampleSendTime(), opener);
        EXPECT_TRUE(path.ok()) << path.status().text().toStdString();
        return path.ok() ? messageparser::parse(testfiles::read(path.value())) : QJsonObject();
    }

    static QStringList textLines(const QJsonObject& parsed)
    {
        const QByteArray text = partBytes(parsed.value("parts").toArray().at(0).toObject());
        return MessageCharset::decode(text).split("\r\n");
    }

    QTemporaryDir temp;
    // The relay writes into the temporary folder; each test gets its own.
    relaystest::ScopedTempFolder tempFolder{temp.path()};
    QTemporaryDir work;
    QString image;
    FaxRequest request;
    RecordingOpener opener;
};

TEST_F(MessageFileRelayTest, SavesTempEmlFileInTheTemporaryFolderAndOpensIt)
{
    const Result<QString> path =
        MessageFileRelay::run(request, "notice", relaystest::sampleSendTime(), opener);

    ASSERT_TRUE(path.ok());
    EXPECT_EQ(path.value(), QDir(temp.path()).filePath("temp_20150305_090700.eml"));
    EXPECT_EQ(path.value(), MessageFileRelay::messageFilePath(relaystest::sampleSendTime()));
    EXPECT_EQ(opener.opened, QStringList{path.value()});
    EXPECT_EQ(QDir(temp.path()).entryList(QDir::Files), QStringList{"temp_20150305_090700.eml"})
        << "no side file is left behind";
}

TEST_F(MessageFileRelayTest, TextIsNoticeEmptyLineThenParametersAndTheImageIsAttached)
{
    const QJsonObject parsed = runAndParse(LangConst("SSendFaxMessage3"));

    EXPECT_TRUE(parsed.value("defects").toArray().isEmpty());
    EXPECT_EQ(parsed.value("content_type").toString(), "multipart/mixed");
    EXPECT_EQ(header(parsed, "To"), "fax@gateway.example.net");
    EXPECT_EQ(header(parsed, "From"), "client@example.com");
    EXPECT_EQ(header(parsed, "Subject"), "123456 (Мой клиент)");
    EXPECT_FALSE(headerNames(parsed).contains("X-Name")) << "parameters travel in the text";
    const QStringList lines = textLines(parsed);
    EXPECT_EQ(lines.mid(0, 9),
              QStringList({"Please do not change message text! For sending email, select \"Send "
                           "Retry\" in your email client.",
                           "", "X-Name=4711", "X-Password=0123456789abcdef0123456789abcdef",
                           "X-LanguageID=$0419", "X-Version=2.0.0.1", "X-PassMode=1",
                           "X-FaxFile=file_20150305090700123.tif", ""}));
    const QJsonArray parts = parsed.value("parts").toArray();
    ASSERT_EQ(parts.size(), 2);
    EXPECT_EQ(parts[1].toObject().value("filename").toString(), "file_20150305090700123.tif");
    EXPECT_EQ(partBytes(parts[1].toObject()), relaystest::sampleImageBytes());
}

TEST_F(MessageFileRelayTest, CyrillicTextTravelsInWindows1251)
{
    request.cardName = "Карта 4711";

    const QJsonObject parsed = runAndParse("Не изменяйте текст письма!");

    EXPECT_EQ(parsed.value("charset").toString(), "windows-1251");
    const QStringList lines = textLines(parsed);
    EXPECT_EQ(lines.value(0), "Не изменяйте текст письма!");
    EXPECT_EQ(lines.value(2), "X-Name=Карта 4711");
}

TEST_F(MessageFileRelayTest, MultiAddressModeAttachesTheListByItsName)
{
    request.subject.clear();
    request.additional.multiFax = true;
    request.additional.multiFaxNumbers = {"123456", "7890 (Второй)"};

    const QJsonObject parsed = runAndParse("notice");

    EXPECT_TRUE(textLines(parsed).contains("X-MultyFax=multyfax_numbers.txt"));
    const QJsonArray parts = parsed.value("parts").toArray();
    ASSERT_EQ(parts.size(), 3);
    EXPECT_EQ(parts[2].toObject().value("filename").toString(), "multyfax_numbers.txt");
    EXPECT_EQ(partBytes(parts[2].toObject()), MessageCharset::encode("123456\r\n7890 (Второй)"));
}

TEST_F(MessageFileRelayTest, SecondRunInTheSameSecondReplacesTheFile)
{
    ASSERT_TRUE(MessageFileRelay::run(request, "first", relaystest::sampleSendTime(), opener).ok());
    request.subject = "777";
    const QJsonObject parsed = runAndParse("second");

    EXPECT_EQ(header(parsed, "Subject"), "777");
    EXPECT_EQ(textLines(parsed).value(0), "second");
    EXPECT_EQ(QDir(temp.path()).entryList(QDir::Files).size(), 1);
}

TEST_F(MessageFileRelayTest, DesktopOpensTheEmlFileWithItsMailProgram)
{
    RecordingMailDesktop desktop;
    ASSERT_TRUE(desktop.isValid());
    XdgFileOpener xdgOpen(XdgFileOpener::kDefaultProgram, desktop.environment());

    const Result<QString> path =
        MessageFileRelay::run(request, "notice", relaystest::sampleSendTime(), xdgOpen);

    ASSERT_TRUE(path.ok());
    EXPECT_EQ(desktop.recordedArguments(), QStringList{path.value()});
}

TEST_F(MessageFileRelayTest, OpenerThatCannotOpenGoesUnnoticed)
{
    opener.answer = false;
    EXPECT_TRUE(
        MessageFileRelay::run(request, "notice", relaystest::sampleSendTime(), opener).ok());
}

TEST_F(MessageFileRelayTest, FailuresAreReportedAndNothingIsOpened)
{
    const QString blocked = MessageFileRelay::messageFilePath(relaystest::sampleSendTime());
    ASSERT_TRUE(QDir().mkdir(blocked)); // a folder where the file should go
    const Result<QString> unsaved =
        MessageFileRelay::run(request, "notice", relaystest::sampleSendTime(), opener);
    EXPECT_FALSE(unsaved.ok());
    EXPECT_TRUE(unsaved.status().text().contains(blocked));

    request.faxImagePath = work.filePath("gone.tif");
    const Result<QString> uncomposed =
        MessageFileRelay::run(request, "notice", relaystest::sampleSendTime().addSecs(1), opener);
    EXPECT_FALSE(uncomposed.ok());
    EXPECT_TRUE(opener.opened.isEmpty());
    EXPECT_EQ(QDir(temp.path()).entryList(QDir::Files), QStringList());
}

// The wanted send time and the debug report, in the two MIME renderings (the
// mail client rendering is checked with the mail program's hand-off).
TEST_F(MessageFileRelayTest, SendTimeAndDebugInHeaderAndBodyRenderings)
{
    request.additional.sendDateTime = relaystest::sampleSendTime();
    request.additional.debug = true;

    const QStringList lines = textLines(runAndParse("notice"));
    const int faxFile = int(lines.indexOf("X-FaxFile=file_20150305090700123.tif"));
    EXPECT_EQ(lines.mid(faxFile - 2, 2),
              QStringList({"X-SendDT=05.03.2015 09:07:00", "X-Debug=Y"}));

    const Result<QByteArray> headers =
        MimeComposer::headerRendering(request, relaystest::sampleSendTime());
    ASSERT_TRUE(headers.ok());
    const QJsonObject parsed = messageparser::parse(headers.value());
    const QStringList names = headerNames(parsed);
    const int faxFileField = int(names.indexOf("X-FaxFile"));
    EXPECT_EQ(names.mid(faxFileField - 2, 2), QStringList({"X-SendDT", "X-Debug"}));
    EXPECT_EQ(header(parsed, "X-SendDT"), "05.03.2015 09:07:00");
    EXPECT_EQ(header(parsed, "X-Debug"), "Y");
}

} // namespace
