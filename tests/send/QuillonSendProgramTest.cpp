#include "editor/core/DocumentReaders.h"
#include "editor/core/FaxImage.h"
#include "settings/core/TIni.h"

#include "tests/send/MessageParser.h"
#include "tests/send/SmtpTestServer.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QJsonArray>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString kNumber = QStringLiteral("123456 (My Favorite Client)");

struct ProgramRun
{
    int exitCode = -1;
    QByteArray out;
    QString error;
};

Page drawnPage(int mark)
{
    QImage image(400, 300, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.fillRect(20 * mark, 20, 50, 50, Qt::black);
    painter.end();
    return Page(image, {});
}

class QuillonSendProgramTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        QDir().mkpath(tempFolder());
        tiffDocument = folder.filePath("doc.tif");
        ASSERT_TRUE(
            WriteFaxImage(std::vector<Page>{drawnPage(1), drawnPage(2)}, tiffDocument).ok());
        pngDocument = folder.filePath("cover.png");
        ASSERT_TRUE(drawnPage(3).image().save(pngDocument));
        settingsFile = folder.filePath("quillon2.ini");
        writeSettings(0);
    }

    QString tempFolder() const { return folder.filePath("tmp"); }

    void writeSettings(int port)
    {
        testfiles::write(settingsFile,
                         QStringLiteral("[Email]\nEMailServer=127.0.0.1\n"
                                        "EMailServerPort=%1\n"
                                        "[Common]\nEMailSendMethod=1\nHistoryCount=20\n"
                                        "[Info]\nCardName=4711\nPassMode=1\n"
                                        "ReplyAddress=client@example.com\n")
                             .arg(port)
                             .toUtf8());
    }

    ProgramRun run(const QStringList& arguments)
    {
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("TMPDIR", tempFolder());
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(QUILLON_SEND_EXE), arguments);
        EXPECT_TRUE(program.waitForFinished(60000));
        return {program.exitCode(), program.readAllStandardOutput(),
                QString::fromLocal8Bit(program.readAllStandardError())};
    }

    QStringList faxImagesLeft() const
    {
        return QDir(tempFolder()).entryList({"file_*.tif"}, QDir::Files);
    }

    QStringList history() const
    {
        TIni ini;
        ini.LoadFromFile(settingsFile);
        return ini.LastFaxNumbers;
    }

    QTemporaryDir folder;
    QString tiffDocument;
    QString pngDocument;
    QString settingsFile;
};

TEST_F(QuillonSendProgramTest, SendsEveryPageOfEveryDocumentAndRecordsTheNumber)
{
    SmtpTestServer server;
    ASSERT_TRUE(server.isRunning());
    writeSettings(server.port());

    const ProgramRun result =
        run({"--settings", settingsFile, "--verbose", "-n", kNumber, tiffDocument, pngDocument});

    EXPECT_EQ(result.exitCode, 0) << result.error.toStdString();
    EXPECT_TRUE(result.error.contains("Connected.")) << "--verbose shows the status lines";
    const auto received = server.messages();
    ASSERT_EQ(received.size(), 1u);
    const QJsonObject parsed = messageparser::parse(received[0].message);
    EXPECT_EQ(messageparser::header(parsed, "Subject"), kNumber);
    const QString faxFile = messageparser::header(parsed, "X-FaxFile");
    EXPECT_TRUE(QRegularExpression("^file_\\d{17}\\.tif$").match(faxFile).hasMatch())
        << faxFile.toStdString();
    const QJsonObject image = parsed.value("parts").toArray().at(1).toObject();
    const QString copy = folder.filePath("received.tif");
    testfiles::write(copy, messageparser::partBytes(image));
    const Result<std::vector<Page>> pages = DocumentReaders::read(copy);
    ASSERT_TRUE(pages.ok()) << pages.status().text().toStdString();
    EXPECT_EQ(pages.value().size(), 3u);

    EXPECT_EQ(history().value(0), kNumber);
    EXPECT_TRUE(faxImagesLeft().isEmpty());
}

TEST_F(QuillonSendProgramTest, MessageOutWritesWhatTheRelayWouldSendAndSendsNothing)
{
    const QString messageFile = folder.filePath("request.eml");
    const ProgramRun toFile =
        run({"--settings", settingsFile, "--message-out", messageFile, "--debug", "--send-at",
             "05.03.2015 09:07:00", "-n", kNumber, tiffDocument});
    EXPECT_EQ(toFile.exitCode, 0) << toFile.error.toStdString();
    const QJsonObject parsed = messageparser::parse(testfiles::read(messageFile));
    EXPECT_EQ(messageparser::header(parsed, "X-SendDT"), "05.03.2015 09:07:00");
    EXPECT_EQ(messageparser::header(parsed, "X-Debug"), "Y");
    EXPECT_EQ(messageparser::header(parsed, "X-Name"), "4711");

    const ProgramRun toStdout =
        run({"--settings", settingsFile, "--message-out", "-", "-n", kNumber, tiffDocument});
    EXPECT_EQ(toStdout.exitCode, 0);
    EXPECT_EQ(messageparser::header(messageparser::parse(toStdout.out), "Subject"), kNumber);

    EXPECT_TRUE(history().isEmpty());
    EXPECT_TRUE(faxImagesLeft().isEmpty());
}

TEST_F(QuillonSendProgramTest, MultiAddressListDropsInvalidLines)
{
    const QString list = folder.filePath("numbers.txt");
    testfiles::write(list, "111 (A)\r\nabc\r\n222 (B)\r\n");
    const ProgramRun result = run({"--settings", settingsFile, "--multi", list, "--message-out",
                                   "-", "-n", "", tiffDocument});
    EXPECT_EQ(result.exitCode, 0) << result.error.toStdString();
    EXPECT_EQ(result.error.trimmed(), "Follow phone numbers is invalid and deleted: abc");
    const QJsonObject parsed = messageparser::parse(result.out);
    EXPECT_EQ(messageparser::header(parsed, "X-MultyFax"), "multyfax_numbers.txt");
    const QJsonObject listPart = parsed.value("parts").toArray().at(2).toObject();
    EXPECT_EQ(messageparser::partBytes(listPart), "111 (A)\r\n222 (B)");
}

struct UsageCase
{
    const char* name;
    QStringList arguments; // "%doc" and "%settings" and "%list" are replaced
    const char* errorContains;
};

void PrintTo(const UsageCase& c, std::ostream* os)
{
    *os << c.name;
}

class QuillonSendUsageTest : public QuillonSendProgramTest,
                             public ::testing::WithParamInterface<UsageCase>
{
};

TEST_P(QuillonSendUsageTest, ExitsWithTwoAndOneLine)
{
    const QString list = folder.filePath("one.txt");
    testfiles::write(list, "111\nabc\n");
    QStringList arguments;
    for (QString argument : GetParam().arguments)
        arguments << argument.replace("%doc", tiffDocument)
                         .replace("%settings", settingsFile)
                         .replace("%list", list);
    const ProgramRun result = run(arguments);
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_TRUE(result.error.contains(GetParam().errorContains)) << result.error.toStdString();
    EXPECT_EQ(result.error.trimmed().count('\n'), GetParam().name == std::string("ShortList"));
    EXPECT_TRUE(faxImagesLeft().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, QuillonSendUsageTest,
    ::testing::Values(
        UsageCase{"NoNumber", {"--settings", "%settings", "%doc"}, "-n TEXT"},
        UsageCase{"NoDocument", {"--settings", "%settings", "-n", "123"}, "No document"},
        UsageCase{"NumberWithoutDigits",
                  {"--settings", "%settings", "-n", "(Client)", "%doc"},
                  "Please full phone number!"},
        UsageCase{"BadSendTime",
                  {"--settings", "%settings", "--send-at", "2015-03-05", "-n", "1", "%doc"},
                  "--send-at"},
        UsageCase{"MissingDocument",
                  {"--settings", "%settings", "-n", "1", "/nonexistent/doc.tif"},
                  "doc.tif"},
        UsageCase{"MissingSettings",
                  {"--settings", "/nonexistent.ini", "-n", "1", "%doc"},
                  "nonexistent.ini"},
        UsageCase{"UnknownOption", {"--bogus", "-n", "1", "%doc"}, "bogus"},
        UsageCase{"UnknownRelay",
                  {"--settings", "%settings", "--relay", "5", "-n", "1", "%doc"},
                  "There is no relay 5"},
        UsageCase{"ShortList",
                  {"--settings", "%settings", "--multi", "%list", "-n", "", "%doc"},
                  "Please, specify more onel multy fax phone numbers!"}),
    [](const ::testing::TestParamInfo<UsageCase>& info) { return info.param.name; });

TEST_F(QuillonSendProgramTest, RelayFailureExitsWithThreeAndTheSendErrorText)
{
    SmtpTestServer server({"--reject-rcpt"});
    ASSERT_TRUE(server.isRunning());
    writeSettings(server.port());
    const ProgramRun result = run({"--settings", settingsFile, "-n", kNumber, tiffDocument});
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_EQ(result.error.trimmed(),
              "Send message error: \"550 5.1.1 No such user here\". Check mail settings!");
    EXPECT_TRUE(history().isEmpty());
    EXPECT_TRUE(faxImagesLeft().isEmpty());
}

} // namespace

namespace {

// Stand-ins for xdg-open and xdg-email on PATH: they record their arguments
// and end with the status the test asks for.
void installDesktopTool(const QString& folder, const QString& name, int exitCode)
{
    const QString path = folder + "/" + name;
    testfiles::write(path,
                     QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$@\" > \"%1.args\"\nexit %2\n")
                         .arg(path)
                         .arg(exitCode)
                         .toUtf8());
    QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ExeOwner);
}

class QuillonSendDesktopRelayTest : public QuillonSendProgramTest
{
protected:
    ProgramRun runWithTools(const QStringList& arguments)
    {
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("TMPDIR", tempFolder());
        environment.insert("PATH", bin() + ":" + environment.value("PATH"));
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(QUILLON_SEND_EXE), arguments);
        EXPECT_TRUE(program.waitForFinished(60000));
        return {program.exitCode(), program.readAllStandardOutput(),
                QString::fromLocal8Bit(program.readAllStandardError())};
    }

    QString bin() const { return folder.filePath("bin"); }
    QStringList argumentsOf(const QString& tool) const
    {
        return QString::fromLocal8Bit(testfiles::read(bin() + "/" + tool + ".args"))
            .split('\n', Qt::SkipEmptyParts);
    }
};

TEST_F(QuillonSendDesktopRelayTest, MessageFileIsSavedAndOpened)
{
    installDesktopTool(bin(), "xdg-open", 0);
    const ProgramRun result =
        runWithTools({"--settings", settingsFile, "--relay", "2", "-n", kNumber, tiffDocument});
    EXPECT_EQ(result.exitCode, 0) << result.error.toStdString();
    const QStringList opened = argumentsOf("xdg-open");
    ASSERT_EQ(opened.size(), 1);
    const QJsonObject parsed = messageparser::parse(testfiles::read(opened.first()));
    EXPECT_EQ(messageparser::header(parsed, "Subject"), kNumber);
    EXPECT_EQ(history().value(0), kNumber);
    EXPECT_TRUE(faxImagesLeft().isEmpty());
}

TEST_F(QuillonSendDesktopRelayTest, MailProgramFailureExitsWithThree)
{
    installDesktopTool(bin(), "xdg-email", 0);
    const ProgramRun handedOver =
        runWithTools({"--settings", settingsFile, "--relay", "0", "-n", kNumber, tiffDocument});
    EXPECT_EQ(handedOver.exitCode, 0) << handedOver.error.toStdString();
    EXPECT_TRUE(argumentsOf("xdg-email").contains("--subject"));
    EXPECT_EQ(history().value(0), kNumber);

    installDesktopTool(bin(), "xdg-email", 4);
    const ProgramRun refused =
        runWithTools({"--settings", settingsFile, "--relay", "0", "-n", "777", tiffDocument});
    EXPECT_EQ(refused.exitCode, 3);
    EXPECT_TRUE(refused.error.startsWith("Send message error:")) << refused.error.toStdString();
    EXPECT_EQ(history().value(0), kNumber);
}

} // namespace
