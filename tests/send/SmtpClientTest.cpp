#include "send/core/SmtpClient.h"
#include "send/core/HostIdentity.h"
#include "send/core/MimeComposer.h"

#include "tests/send/MessageParser.h"
#include "tests/send/QStringPrinter.h"
#include "tests/send/SmtpTestServer.h"
#include "tests/support/TestFiles.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

constexpr char kGreetingName[] = "quillon-test-client";
constexpr int kWaitMs = 30000;

const QByteArray kData = "Subject: test\r\n"
                         "\r\n"
                         "first line\r\n"
                         ".a line that begins with a dot\r\n"
                         ".\r\n"
                         "last line\r\n";

struct Outcome
{
    bool ok = false;
    QString error;
    QStringList status;
};

Outcome runExchange(const SmtpSettings& settings, const SmtpClient::Mail& mail,
                    int replyTimeoutMs = SmtpClient::kDefaultReplyTimeoutMs)
{
    SmtpClient client;
    client.setReplyTimeout(replyTimeoutMs);
    QSignalSpy finished(&client, &SmtpClient::finished);
    Outcome outcome;
    QObject::connect(&client, &SmtpClient::statusChanged,
                     [&outcome](const QString& text) { outcome.status << text; });
    client.send(settings, QString::fromLatin1(kGreetingName), mail);
    if (finished.isEmpty()) {
        EXPECT_TRUE(finished.wait(kWaitMs));
    }
    EXPECT_EQ(finished.size(), 1);
    if (finished.isEmpty())
        return outcome;
    outcome.ok = finished.at(0).at(0).toBool();
    outcome.error = finished.at(0).at(1).toString();
    EXPECT_FALSE(client.isBusy());
    return outcome;
}

SmtpClient::Mail sampleMail()
{
    return {"client@example.com", {"fax@gateway.example.net"}, kData};
}

SmtpSettings settingsFor(const SmtpTestServer& server)
{
    SmtpSettings settings;
    settings.host = "127.0.0.1";
    settings.port = server.port();
    settings.sslPort = server.port();
    return settings;
}

QStringList greetingAndTransaction(const QStringList& middle, const QString& from)
{
    const QString ehlo = QStringLiteral("EHLO ") + kGreetingName;
    return QStringList{ehlo} + middle +
           QStringList{"RSET", "MAIL FROM: <" + from + ">", "RCPT TO:<fax@gateway.example.net>",
                       "DATA", "QUIT"};
}

struct ExchangeCase
{
    const char* name;
    QStringList serverOptions;
    bool startTlsServer;
    void (*adjust)(SmtpSettings&, SmtpClient::Mail&);
    // Empty when the exchange must succeed.
    QString errorContains;
    QStringList commands;
    bool tls;
    QString login;
};

void PrintTo(const ExchangeCase& c, std::ostream* os)
{
    *os << c.name;
}

class SmtpExchangeTest : public ::testing::TestWithParam<ExchangeCase>
{
};

TEST_P(SmtpExchangeTest, FollowsTheExchange)
{
    const ExchangeCase& c = GetParam();
    QStringList options = c.serverOptions;
    if (c.startTlsServer)
        options += SmtpTestServer::startTlsOptions();
    SmtpTestServer server(options);
    ASSERT_TRUE(server.isRunning());
    SmtpSettings settings = settingsFor(server);
    SmtpClient::Mail mail = sampleMail();
    c.adjust(settings, mail);

    const Outcome outcome = runExchange(settings, mail);

    if (c.errorContains.isEmpty()) {
        EXPECT_TRUE(outcome.ok) << outcome.error.toStdString();
        const auto received = server.messages();
        ASSERT_EQ(received.size(), 1u);
        EXPECT_EQ(received[0].message, mail.data);
        EXPECT_EQ(received[0].envelope.value("tls").toBool(), c.tls);
        EXPECT_EQ(received[0].envelope.value("login").toString(), c.login);
    } else {
        EXPECT_FALSE(outcome.ok);
        EXPECT_TRUE(outcome.error.contains(c.errorContains, Qt::CaseInsensitive))
            << outcome.error.toStdString();
        EXPECT_TRUE(server.messages().empty());
    }
    if (!c.commands.isEmpty()) {
        EXPECT_EQ(server.commands(), c.commands);
    }
}

const QString kEhlo = QStringLiteral("EHLO ") + kGreetingName;

INSTANTIATE_TEST_SUITE_P(
    Servers, SmtpExchangeTest,
    ::testing::Values(ExchangeCase{"Plain",
                                   {},
                                   false,
                                   [](SmtpSettings&, SmtpClient::Mail&) {},
                                   {},
                                   greetingAndTransaction({}, "client@example.com"),
                                   false,
                                   {}},
                      ExchangeCase{
                          "StartTlsWithoutVerification",
                          {},
                          true,
                          [](SmtpSettings& s, SmtpClient::Mail&) {
                              s.requireSsl = true;
                              s.verifySsl = false;
                          },
                          {},
                          greetingAndTransaction({"STARTTLS", kEhlo}, "client@example.com"),
                          true,
                          {}},
                      ExchangeCase{"StartTlsRefusesAnUntrustedCertificate",
                                   {},
                                   true,
                                   [](SmtpSettings& s, SmtpClient::Mail&) { s.requireSsl = true; },
                                   "certificate",
                                   {kEhlo, "STARTTLS"},
                                   false,
                                   {}},
                      ExchangeCase{"StartTlsRefused",
                                   {"--refuse-starttls"},
                                   true,
                                   [](SmtpSettings& s, SmtpClient::Mail&) { s.requireSsl = true; },
                                   "Start SSL negotiation command failed.",
                                   {kEhlo, "STARTTLS", "QUIT"},
                                   false,
                                   {}},
                      ExchangeCase{"HeloWhenEhloIsRefused",
                                   {"--no-ehlo"},
                                   false,
                                   [](SmtpSettings&, SmtpClient::Mail&) {},
                                   {},
                                   greetingAndTransaction({QStringLiteral("HELO ") + kGreetingName},
                                                          "client@example.com"),
                                   false,
                                   {}},
                      ExchangeCase{"SslWantedButNotOfferedGoesInTheClear",
                                   {},
                                   false,
                                   [](SmtpSettings& s, SmtpClient::Mail&) { s.requireSsl = true; },
                                   {},
                                   greetingAndTransaction({}, "client@example.com"),
                                   false,
                                   {}},
                      ExchangeCase{"LoginAccepted",
                                   {"--auth", "fax-user", "s3cret"},
                                   false,
                                   [](SmtpSettings& s, SmtpClient::Mail&) {
                                       s.auth = true;
                                       s.user = "fax-user";
                                       s.password = "s3cret";
                                   },
                                   {},
                                   greetingAndTransaction({"AUTH LOGIN"}, "client@example.com"),
                                   false,
                                   "fax-user"},
                      ExchangeCase{"LoginRefused",
                                   {"--auth", "fax-user", "s3cret"},
                                   false,
                                   [](SmtpSettings& s, SmtpClient::Mail&) {
                                       s.auth = true;
                                       s.user = "fax-user";
                                       s.password = "wrong";
                                   },
                                   "535",
                                   {kEhlo, "AUTH LOGIN", "QUIT"},
                                   false,
                                   {}},
                      ExchangeCase{"LoginNotOffered",
                                   {"--auth", "fax-user", "s3cret", "--only-cram-md5"},
                                   false,
                                   [](SmtpSettings& s, SmtpClient::Mail&) {
                                       s.auth = true;
                                       s.user = "fax-user";
                                       s.password = "s3cret";
                                   },
                                   {},
                                   greetingAndTransaction({}, "client@example.com"),
                                   false,
                                   {}},
                      ExchangeCase{"EmptyUserNameMeansNoLogin",
                                   {"--auth", "fax-user", "s3cret"},
                                   false,
                                   [](SmtpSettings& s, SmtpClient::Mail&) { s.auth = true; },
                                   {},
                                   greetingAndTransaction({}, "client@example.com"),
                                   false,
                                   {}},
                      ExchangeCase{"EmptyReplyAddress",
                                   {},
                                   false,
                                   [](SmtpSettings&, SmtpClient::Mail& m) { m.from.clear(); },
                                   {},
                                   greetingAndTransaction({}, ""),
                                   false,
                                   {}},
                      ExchangeCase{"RecipientRefused",
                                   {"--reject-rcpt"},
                                   false,
                                   [](SmtpSettings&, SmtpClient::Mail&) {},
                                   "550 5.1.1 No such user here",
                                   {kEhlo, "RSET", "MAIL FROM: <client@example.com>",
                                    "RCPT TO:<fax@gateway.example.net>", "QUIT"},
                                   false,
                                   {}},
                      ExchangeCase{"ConnectionDroppedDuringData",
                                   {"--drop-in-data"},
                                   false,
                                   [](SmtpSettings&, SmtpClient::Mail&) {},
                                   "closed the connection",
                                   {},
                                   false,
                                   {}}),
    [](const ::testing::TestParamInfo<ExchangeCase>& info) { return info.param.name; });

class SmtpStallTest : public ::testing::TestWithParam<const char*>
{
};

TEST_P(SmtpStallTest, EndsWhenTheServerStopsAnswering)
{
    SmtpTestServer server({"--stall", GetParam()});
    ASSERT_TRUE(server.isRunning());
    const Outcome outcome = runExchange(settingsFor(server), sampleMail(), 1000);
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(outcome.error, "The mail server did not answer within 1 seconds.");
}

INSTANTIATE_TEST_SUITE_P(Points, SmtpStallTest, ::testing::Values("connect", "ehlo"));

TEST(SmtpClientSetup, RefusesWhatCannotBeSentBeforeConnecting)
{
    SmtpSettings settings;
    const auto noServer = runExchange(settings, sampleMail());
    EXPECT_FALSE(noServer.ok);
    EXPECT_EQ(noServer.error, QString());
    settings.host = "127.0.0.1";
    SmtpClient::Mail mail = sampleMail();
    mail.from = "a@example.com>\r\nRCPT TO:<other@example.com";
    const Outcome outcome = runExchange(settings, mail);
    EXPECT_FALSE(outcome.ok);
    EXPECT_TRUE(outcome.error.startsWith("The address")) << outcome.error.toStdString();
}

TEST(SmtpClientSetup, ReportsWhatItDoes)
{
    SmtpTestServer server;
    ASSERT_TRUE(server.isRunning());
    const Outcome outcome = runExchange(settingsFor(server), sampleMail());
    ASSERT_TRUE(outcome.ok);
    EXPECT_EQ(outcome.status.first(), QString("Connecting to 127.0.0.1:%1.").arg(server.port()));
    EXPECT_TRUE(outcome.status.contains("Connected."));
    EXPECT_EQ(outcome.status.last(), "Disconnected.");
}

TEST(SmtpSettingsPort, SslPort465BecomesTheRegularPort)
{
    SmtpSettings settings;
    EXPECT_EQ(settings.connectionPort(), 25);
    settings.requireSsl = true;
    EXPECT_EQ(settings.connectionPort(), 25);
    settings.sslPort = 587;
    EXPECT_EQ(settings.connectionPort(), 587);
    settings.requireSsl = false;
    settings.port = 2525;
    EXPECT_EQ(settings.connectionPort(), 2525);
}

TEST(DotStuffing, DoublesLeadingDotsAndEndsWithALineBreak)
{
    EXPECT_EQ(SmtpClient::dotStuffed(".a\r\nb.\r\n.\r\nc"), "..a\r\nb.\r\n..\r\nc\r\n");
    EXPECT_EQ(SmtpClient::dotStuffed("\r\n.\r\n.."), "\r\n..\r\n...\r\n");
    EXPECT_EQ(SmtpClient::dotStuffed(""), "\r\n");
    EXPECT_EQ(SmtpClient::dotStuffed("no dots\r\n"), "no dots\r\n");
}

class FakeHost : public HostIdentity
{
public:
    FakeHost(QString name, QList<QHostAddress> addresses, QString reverse)
        : m_name(std::move(name)), m_addresses(std::move(addresses)), m_reverse(std::move(reverse))
    {
    }
    QString computerName() const override { return m_name; }
    QList<QHostAddress> localAddresses() const override { return m_addresses; }
    QString reverseLookup(const QHostAddress&) const override { return m_reverse; }

private:
    QString m_name;
    QList<QHostAddress> m_addresses;
    QString m_reverse;
};

TEST(FullyQualifiedHostName, PrefersNamesWithADotThenTheAddressLiteral)
{
    const QList<QHostAddress> addresses{QHostAddress("192.168.1.20"), QHostAddress("10.0.0.1")};
    EXPECT_EQ(GetFullyQualifiedHostName(FakeHost("pc.example.lan", addresses, "x.y")).value(),
              "pc.example.lan");
    EXPECT_EQ(GetFullyQualifiedHostName(FakeHost("pc", addresses, "pc.example.lan")).value(),
              "pc.example.lan");
    EXPECT_EQ(GetFullyQualifiedHostName(FakeHost("pc", addresses, "pc")).value(), "[192.168.1.20]");
    EXPECT_EQ(GetFullyQualifiedHostName(FakeHost("pc", {QHostAddress("2001:db8::1")}, "")).value(),
              "[IPv6:2001:db8::1]");
    EXPECT_FALSE(GetFullyQualifiedHostName(FakeHost("pc", {}, "")).ok());
    EXPECT_EQ(DefaultGreetingName(FakeHost("", {}, "")), "localhost");
}

TEST(SmtpWithComposer, CyrillicSubjectArrivesAsEncodedWords)
{
    QTemporaryDir folder;
    FaxRequest request;
    request.recipients = {"fax@gateway.example.net"};
    request.fromAddress = "client@example.com";
    request.subject = QString::fromUtf8("123456 (Иван Петрович)");
    request.faxImagePath = folder.filePath("file_20150305090700123.tif");
    request.version = "2.0.0.1";
    testfiles::write(request.faxImagePath, QByteArray(5000, '.'));
    const Result<QByteArray> data =
        MimeComposer::headerRendering(request, QDateTime::currentDateTime());
    ASSERT_TRUE(data.ok());

    SmtpTestServer server;
    ASSERT_TRUE(server.isRunning());
    ASSERT_TRUE(
        runExchange(settingsFor(server), {request.fromAddress, request.recipients, data.value()})
            .ok);
    const auto received = server.messages();
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].message, data.value());
    const QJsonObject parsed = messageparser::parse(received[0].message);
    EXPECT_TRUE(messageparser::rawHeader(parsed, "Subject").startsWith("=?windows-1251?B?"));
    EXPECT_EQ(messageparser::header(parsed, "Subject"), request.subject);
}

} // namespace

namespace {

TEST(SmtpClientLifetime, CanGoInTheMiddleOfAnExchange)
{
    SmtpTestServer server({"--stall", "ehlo"});
    ASSERT_TRUE(server.isRunning());
    auto client = std::make_unique<SmtpClient>();
    QSignalSpy status(client.get(), &SmtpClient::statusChanged);
    client->send(settingsFor(server), "name", sampleMail());
    ASSERT_TRUE(status.wait(kWaitMs));
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.commands().size() == 1; }, kWaitMs));
    client.reset();
    QTest::qWait(50);
}

} // namespace
