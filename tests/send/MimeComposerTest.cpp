#include "send/core/MimeComposer.h"
#include "about/core/VersionRecord.h"

#include "tests/send/MessageParser.h"
#include "tests/send/QStringPrinter.h"
#include "tests/support/TestFiles.h"

#include <QJsonArray>
#include <QTemporaryDir>
#include <QTimeZone>

#include <gtest/gtest.h>

namespace {

using messageparser::header;
using messageparser::headerNames;
using messageparser::partBytes;

const QString kNotice = QStringLiteral(
    "Please do not change message text! For sending email, select \"Send Retry\" in your "
    "email client.");

QByteArray sampleImageBytes()
{
    QByteArray bytes;
    for (int i = 0; i < 1000; ++i)
        bytes += char(i * 7 % 256);
    return bytes;
}

QDateTime sampleDate()
{
    return QDateTime(QDate(2015, 3, 5), QTime(9, 7), QTimeZone(3 * 3600));
}

class MimeComposerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        imagePath = folder.filePath("file_20150305090700123.tif");
        testfiles::write(imagePath, sampleImageBytes());
        request.recipients = {"fax@gateway.example.net"};
        request.fromAddress = "client@example.com";
        request.subject = "123456 (My Favorite Client)";
        request.faxImagePath = imagePath;
        request.cardName = "4711";
        request.passwordValue = "0123456789abcdef0123456789abcdef";
        request.languageId = 1033;
        request.version = "2.0.0.1";
        request.passMode = 1;
    }

    QJsonObject renderHeaders() const
    {
        const Result<QByteArray> message = MimeComposer::headerRendering(request, sampleDate());
        EXPECT_TRUE(message.ok()) << message.status().text().toStdString();
        return messageparser::parse(message.ok() ? message.value() : QByteArray());
    }

    QTemporaryDir folder;
    QString imagePath;
    FaxRequest request;
};

TEST_F(MimeComposerTest, HeaderRenderingCarriesStandardFieldsThenParametersInOrder)
{
    const QJsonObject parsed = renderHeaders();
    EXPECT_TRUE(parsed.value("defects").toArray().isEmpty());
    EXPECT_EQ(headerNames(parsed),
              QStringList({"From", "Sender", "To", "Subject", "Date", "MIME-Version",
                           "Content-Type", "X-Name", "X-Password", "X-LanguageID", "X-Version",
                           "X-PassMode", "X-FaxFile"}));
    EXPECT_EQ(header(parsed, "From"), "client@example.com");
    EXPECT_EQ(header(parsed, "Sender"), "client@example.com");
    EXPECT_EQ(header(parsed, "To"), "fax@gateway.example.net");
    EXPECT_EQ(header(parsed, "Subject"), "123456 (My Favorite Client)");
    EXPECT_EQ(header(parsed, "Date"), "Thu, 05 Mar 2015 09:07:00 +0300");
    EXPECT_EQ(header(parsed, "MIME-Version"), "1.0");
    EXPECT_EQ(parsed.value("content_type").toString(), "multipart/mixed");
    EXPECT_EQ(parsed.value("charset").toString(), "windows-1251");
    EXPECT_EQ(parsed.value("preamble").toString(), "This is a multi-part message in MIME format");
    EXPECT_EQ(header(parsed, "X-LanguageID"), "$0409");
    EXPECT_EQ(header(parsed, "X-FaxFile"), "file_20150305090700123.tif");
}

TEST_F(MimeComposerTest, HeaderRenderingHasAnEmptyTextPartAndTheImageByteForByte)
{
    const QJsonArray parts = renderHeaders().value("parts").toArray();
    ASSERT_EQ(parts.size(), 2);
    EXPECT_EQ(parts[0].toObject().value("content_type").toString(), "text/plain");
    EXPECT_TRUE(partBytes(parts[0].toObject()).trimmed().isEmpty());
    const QJsonObject image = parts[1].toObject();
    EXPECT_EQ(image.value("content_type").toString(), "application/octet-stream");
    EXPECT_EQ(image.value("encoding").toString(), "base64");
    EXPECT_EQ(image.value("disposition").toString(), "attachment");
    EXPECT_EQ(image.value("name").toString(), "file_20150305090700123.tif");
    EXPECT_EQ(image.value("filename").toString(), "file_20150305090700123.tif");
    EXPECT_EQ(partBytes(image), sampleImageBytes());
}

struct ParameterCase
{
    const char* name;
    void (*change)(FaxRequest&);
    QStringList parameters; // "name=value" of the MIME renderings, in order
};

class ParameterRulesTest : public ::testing::TestWithParam<ParameterCase>
{
};

TEST_P(ParameterRulesTest, MimeParametersFollowTheEmptyValueRules)
{
    FaxRequest request;
    request.faxImagePath = "/tmp/x/file_1.tif";
    request.cardName = "4711";
    request.passwordValue = "abc";
    request.languageId = 1033;
    request.version = "2.0.0.1";
    request.passMode = 1;
    GetParam().change(request);
    QStringList actual;
    for (const FaxRequest::Parameter& parameter : request.mimeParameters())
        actual << parameter.name + '=' + parameter.value;
    EXPECT_EQ(actual, GetParam().parameters);
}

INSTANTIATE_TEST_SUITE_P(
    Requests, ParameterRulesTest,
    ::testing::Values(ParameterCase{"AllAlwaysPresent",
                                    [](FaxRequest&) {},
                                    {"X-Name=4711", "X-Password=abc", "X-LanguageID=$0409",
                                     "X-Version=2.0.0.1", "X-PassMode=1", "X-FaxFile=file_1.tif"}},
                      ParameterCase{"NoCardNoPassword",
                                    [](FaxRequest& r) {
                                        r.cardName.clear();
                                        r.passwordValue.clear();
                                    },
                                    {"X-LanguageID=$0409", "X-Version=2.0.0.1", "X-PassMode=1",
                                     "X-FaxFile=file_1.tif"}},
                      ParameterCase{"RussianAndModeTwo",
                                    [](FaxRequest& r) {
                                        r.languageId = 1049;
                                        r.passMode = 2;
                                        r.passwordValue.clear();
                                    },
                                    {"X-Name=4711", "X-LanguageID=$0419", "X-Version=2.0.0.1",
                                     "X-PassMode=2", "X-FaxFile=file_1.tif"}},
                      ParameterCase{"AllAdditional",
                                    [](FaxRequest& r) {
                                        r.additional.sendDateTime =
                                            QDateTime(QDate(2015, 3, 5), QTime(9, 7));
                                        r.additional.debug = true;
                                        r.additional.multiFax = true;
                                        r.additional.multiFaxNumbers = {"1", "2"};
                                    },
                                    {"X-Name=4711", "X-Password=abc", "X-LanguageID=$0409",
                                     "X-Version=2.0.0.1", "X-PassMode=1",
                                     "X-SendDT=05.03.2015 09:07:00", "X-Debug=Y",
                                     "X-MultyFax=multyfax_numbers.txt", "X-FaxFile=file_1.tif"}}),
    [](const ::testing::TestParamInfo<ParameterCase>& info) { return info.param.name; });

TEST_F(MimeComposerTest, CyrillicTextsTravelAsWindows1251EncodedWords)
{
    const QString subject =
        QString::fromUtf8("123456 (Иван Петрович Сидоров, ООО Ромашка и партнёры)");
    const QString imageName = QString::fromUtf8("факс.tif");
    request.subject = subject;
    request.faxImagePath = folder.filePath(imageName);
    testfiles::write(request.faxImagePath, sampleImageBytes());

    const Result<QByteArray> message = MimeComposer::headerRendering(request, sampleDate());
    ASSERT_TRUE(message.ok());
    for (const QByteArray& line : message.value().split('\n'))
        EXPECT_LE(line.size(), 76 + 1) << line.toStdString();
    const QJsonObject parsed = messageparser::parse(message.value());
    const QString raw = messageparser::rawHeader(parsed, "Subject");
    EXPECT_TRUE(raw.startsWith("=?windows-1251?B?")) << raw.toStdString();
    EXPECT_GT(raw.count("=?windows-1251?B?"), 1) << "long subjects are split into several words";
    EXPECT_EQ(header(parsed, "Subject"), subject);
    EXPECT_EQ(header(parsed, "X-FaxFile"), imageName);
    const QJsonObject image = parsed.value("parts").toArray().at(1).toObject();
    EXPECT_EQ(image.value("filename").toString(), imageName);
    EXPECT_EQ(partBytes(image), sampleImageBytes());
}

TEST_F(MimeComposerTest, LineBreaksInTextsCannotAddHeaderFields)
{
    request.subject = "123\r\nBcc: victim@example.com";
    request.fromAddress = "client@example.com\r\nBcc: other@example.com";
    const QJsonObject parsed = renderHeaders();
    EXPECT_FALSE(headerNames(parsed).contains("Bcc"));
    EXPECT_EQ(header(parsed, "Subject"), "123\r\nBcc: victim@example.com");
}

TEST_F(MimeComposerTest, MultiAddressListIsAnAttachmentWithoutTrailingLineBreak)
{
    request.subject.clear();
    request.additional.multiFax = true;
    request.additional.multiFaxNumbers = {"111 (A)", QString::fromUtf8("222 (Б)")};
    const QJsonObject parsed = renderHeaders();
    EXPECT_EQ(header(parsed, "Subject"), "");
    EXPECT_EQ(header(parsed, "X-MultyFax"), "multyfax_numbers.txt");
    const QJsonArray parts = parsed.value("parts").toArray();
    ASSERT_EQ(parts.size(), 3);
    const QJsonObject list = parts[2].toObject();
    EXPECT_EQ(list.value("filename").toString(), "multyfax_numbers.txt");
    EXPECT_EQ(list.value("content_type").toString(), "application/octet-stream");
    EXPECT_EQ(partBytes(list), QByteArray("111 (A)\r\n222 (\xc1)"));
}

TEST_F(MimeComposerTest, BodyRenderingPutsNoticeAndParameterLinesInTheText)
{
    const Result<QByteArray> message = MimeComposer::bodyRendering(request, kNotice, sampleDate());
    ASSERT_TRUE(message.ok());
    const QJsonObject parsed = messageparser::parse(message.value());
    for (const QString& name : headerNames(parsed))
        EXPECT_FALSE(name.startsWith("X-")) << name.toStdString();
    const QJsonArray parts = parsed.value("parts").toArray();
    ASSERT_EQ(parts.size(), 2);
    const QByteArray expected = kNotice.toLatin1() +
                                "\r\n\r\n"
                                "X-Name=4711\r\n"
                                "X-Password=0123456789abcdef0123456789abcdef\r\n"
                                "X-LanguageID=$0409\r\n"
                                "X-Version=2.0.0.1\r\n"
                                "X-PassMode=1\r\n"
                                "X-FaxFile=file_20150305090700123.tif\r\n";
    EXPECT_EQ(partBytes(parts[0].toObject()).left(expected.size()), expected);
    EXPECT_EQ(partBytes(parts[1].toObject()), sampleImageBytes());
}

TEST_F(MimeComposerTest, MissingFaxImageIsAnErrorNamingTheFile)
{
    request.faxImagePath = folder.filePath("gone.tif");
    const Result<QByteArray> message = MimeComposer::headerRendering(request, sampleDate());
    ASSERT_FALSE(message.ok());
    EXPECT_TRUE(message.status().text().contains("gone.tif"));
}

TEST(MailClientText, WritesEveryParameterWithMultiAddressLast)
{
    FaxRequest request;
    request.faxImagePath = "/tmp/x/file_1.tif";
    request.passwordValue = "";
    request.languageId = 1049;
    request.version = "2.0.0.1";
    request.passMode = 1;
    EXPECT_EQ(request.mailClientText("Please do not change message text!", {}),
              "Please do not change message text!\r\n\r\nX-Name=\r\nX-Password=\r\n"
              "X-LanguageID=$0419\r\nX-Version=2.0.0.1\r\nX-PassMode=1\r\nX-FaxFile=file_1.tif");
    request.additional.sendDateTime = QDateTime(QDate(2015, 3, 5), QTime(9, 7));
    request.additional.debug = true;
    request.additional.multiFax = true;
    EXPECT_TRUE(
        request.mailClientText("N", "/tmp/multyfax_20150305_090700.txt")
            .endsWith("X-PassMode=1\r\nX-SendDT=05.03.2015 09:07:00\r\nX-Debug=Y\r\n"
                      "X-FaxFile=file_1.tif\r\nX-MultyFax=/tmp/multyfax_20150305_090700.txt"));
}

} // namespace

namespace {

TEST(FaxRequestCompose, FillsGatewayVersionAndPasswordForTheImage)
{
    QTemporaryDir folder;
    FaxRequest::Source source;
    source.numberText = "123456 (My Favorite Client)";
    source.faxImagePath = folder.filePath("file_1.tif");
    source.cardName = "4711";
    source.cardPasswordHash = "81dc9bdb52d04dc20036dbd8313ed055";
    source.passMode = 0;
    source.replyAddress = "client@example.com";
    source.languageId = 1049;
    const FaxRequest simple = FaxRequest::compose(source);
    EXPECT_EQ(simple.recipients, QStringList{VersionRecord::gatewayAddress()});
    EXPECT_EQ(simple.version, VersionRecord::value("FileVersion"));
    EXPECT_EQ(simple.passwordValue, source.cardPasswordHash);
    EXPECT_EQ(simple.subject, source.numberText);
    EXPECT_EQ(simple.fromAddress, source.replyAddress);

    source.passMode = 1;
    EXPECT_TRUE(FaxRequest::compose(source).passwordValue.isEmpty()) << "no image yet";
    testfiles::write(source.faxImagePath, "II*\0 image");
    EXPECT_EQ(FaxRequest::compose(source).passwordValue.size(), 32);
}

} // namespace
