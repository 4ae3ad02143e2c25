#include "app/cli/CliSender.h"

#include "app/core/TempFolder.h"
#include "editor/core/DocumentReaders.h"
#include "editor/core/FaxImage.h"
#include "i18n/core/MessageFormat.h"
#include "send/core/FaxNumber.h"
#include "send/core/MailClientRelay.h"
#include "send/core/MessageFileRelay.h"
#include "send/core/TMapiControl.h"
#include "send/core/XdgFileOpener.h"
#include "settings/core/SettingsLocation.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>

#include <cstdio>

namespace {
constexpr int kRelayMailClient = 0;
constexpr int kRelayInternal = 1;
constexpr int kRelayMessageFile = 2;
const QString kDesktopProgram = QStringLiteral("quillon2");

void printLine(FILE* stream, const QString& text)
{
    std::fputs((text + QLatin1Char('\n')).toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

QString defaultSettingsFile()
{
    return SettingsLocation::SettingsFileName(QCoreApplication::applicationDirPath() +
                                              QLatin1Char('/') + kDesktopProgram);
}

QStringList linesOf(const QByteArray& bytes)
{
    QString text = QString::fromLocal8Bit(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}
} // namespace

CliSender::CliSender(SendOptions options, QObject* parent)
    : QObject(parent), m_options(std::move(options))
{
    connect(&m_relay, &SmtpRelay::finished, this, &CliSender::onRelayFinished);
    if (m_options.verbose) {
        connect(&m_relay, &SmtpRelay::statusChanged, this,
                [](const QString& text) { printLine(stderr, text); });
    }
}

void CliSender::start()
{
    const Status prepared = prepare();
    if (!prepared.ok())
        end(kExitUsage, prepared.text());
}

Status CliSender::prepare()
{
    m_settingsFile =
        m_options.settingsFile.isEmpty() ? defaultSettingsFile() : m_options.settingsFile;
    if (!m_options.settingsFile.isEmpty() && !QFile::exists(m_settingsFile))
        return Status::failure(
            QStringLiteral("The settings file %1 does not exist.").arg(m_settingsFile));
    m_ini.LoadFromFile(m_settingsFile);

    AdditionalParameters additional;
    additional.sendDateTime = m_options.sendAt;
    additional.debug = m_options.debug;
    if (!m_options.multiFile.isEmpty()) {
        const Status list = readMultiAddressList(additional);
        if (!list.ok())
            return list;
    } else if (ExtractFaxNumber(m_options.numberText).isEmpty()) {
        return Status::failure(m_texts.text(QStringLiteral("SSendFaxMessage")));
    }

    const int relay = m_options.relay.value_or(m_ini.EMailSendMethod);
    if (m_options.messageOut.isEmpty() && relay != kRelayInternal && relay != kRelayMailClient &&
        relay != kRelayMessageFile)
        return Status::failure(
            QStringLiteral("There is no relay %1: use 0 (mail program), 1 (internal SMTP) or 2 "
                           "(message file).")
                .arg(relay));

    const Status image = writeFaxImage();
    if (!image.ok())
        return image;

    FaxRequest::Source source = FaxRequest::Source::fromIni(m_ini);
    source.numberText = m_options.numberText;
    source.faxImagePath = m_faxImagePath;
    source.additional = additional;
    const FaxRequest request = FaxRequest::compose(source);

    if (!m_options.messageOut.isEmpty()) {
        const Status written = writeMessage(request);
        if (written.ok())
            end(kExitHandedOver);
        return written;
    }
    switch (relay) {
    case kRelayMailClient:
        return handToMailProgram(request);
    case kRelayMessageFile:
        return saveAndOpenMessageFile(request);
    default:
        return m_relay.start(SmtpSettings::fromIni(m_ini), m_identity, request);
    }
}

Status CliSender::handToMailProgram(const FaxRequest& request)
{
    auto control = std::make_unique<TMapiControl>();
    connect(control.get(), &TMapiControl::OnSuccess, this, [this] { onRelayFinished(true, {}); });
    connect(control.get(), &TMapiControl::OnUserAbort, this,
            [this] { onRelayFinished(false, QStringLiteral("The message was not sent.")); });
    connect(control.get(), &TMapiControl::OnMapiError, this,
            [this](qint32 code) { onRelayFinished(false, MailClientRelay::failureText(code)); });
    // The mail program gets copies of the attachments, so the fax image can
    // go with this run.
    const Status started = MailClientRelay().run(std::move(control), this, request,
                                                 m_texts.text(QStringLiteral("SSendFaxMessage1")),
                                                 QDateTime::currentDateTime(), {});
    if (!started.ok())
        onRelayFinished(false, started.text());
    return Status::success();
}

Status CliSender::saveAndOpenMessageFile(const FaxRequest& request)
{
    XdgFileOpener opener;
    const Result<QString> saved =
        MessageFileRelay::run(request, m_texts.text(QStringLiteral("SSendFaxMessage3")),
                              QDateTime::currentDateTime(), opener);
    if (!saved.ok()) {
        onRelayFinished(false, saved.status().text());
        return Status::success();
    }
    if (m_options.verbose)
        printLine(stderr, QStringLiteral("Saved %1.").arg(saved.value()));
    onRelayFinished(true, {});
    return Status::success();
}

Status CliSender::readMultiAddressList(AdditionalParameters& additional) const
{
    QFile file(m_options.multiFile);
    if (!file.open(QIODevice::ReadOnly))
        return Status::failure(QStringLiteral("Cannot read the multi-address list %1: %2")
                                   .arg(m_options.multiFile, file.errorString()));
    QStringList valid;
    for (const QString& line : linesOf(file.readAll())) {
        if (ExtractFaxNumber(line).isEmpty())
            printLine(stderr,
                      m_texts.text(QStringLiteral("SMultyFaxMessage1")) + QLatin1Char(' ') + line);
        else
            valid << line;
    }
    if (valid.isEmpty())
        return Status::failure(m_texts.text(QStringLiteral("SMultyFaxMessage")));
    if (valid.size() == 1)
        return Status::failure(m_texts.text(QStringLiteral("SMultyFaxMessage2")));
    additional.multiFax = true;
    additional.multiFaxNumbers = valid;
    return Status::success();
}

Status CliSender::writeFaxImage()
{
    std::vector<Page> pages;
    for (const QString& document : m_options.documents) {
        Result<std::vector<Page>> read = DocumentReaders::read(document);
        if (!read.ok())
            return read.status();
        for (Page& page : read.value())
            pages.push_back(std::move(page));
    }
    if (pages.empty())
        return Status::failure(m_texts.text(QStringLiteral("SSendFaxMessage2")));
    ApplyFaxImageParameters(pages, {m_ini.ChangeOutputDPI, m_ini.OutputDPI});
    m_faxImagePath = TempFolder::pathWithSeparator() + QStringLiteral("file_") +
                     QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMddHHmmsszzz")) +
                     QStringLiteral(".tif");
    const Status written = WriteFaxImage(pages, m_faxImagePath);
    if (!written.ok())
        m_faxImagePath.clear();
    return written;
}

Status CliSender::writeMessage(const FaxRequest& request)
{
    const Result<QByteArray> message = SmtpRelay::renderMessage(request);
    if (!message.ok())
        return message.status();
    QFile out;
    const bool opened = m_options.messageOut == QLatin1String("-")
                            ? out.open(stdout, QIODevice::WriteOnly)
                            : (out.setFileName(m_options.messageOut),
                               out.open(QIODevice::WriteOnly | QIODevice::Truncate));
    if (!opened || out.write(message.value()) != message.value().size() || !out.flush())
        return Status::failure(QStringLiteral("Cannot write the message to %1: %2")
                                   .arg(m_options.messageOut, out.errorString()));
    return Status::success();
}

void CliSender::onRelayFinished(bool ok, const QString& errorText)
{
    if (!ok)
        return end(
            kExitRelayFailed,
            MessageFormat::Format(m_texts.text(QStringLiteral("SErrorInSend")), {errorText}));
    m_ini.AddFaxNumberToHistory(m_options.numberText);
    const Status saved = m_ini.SaveToFile(m_settingsFile);
    // The fax has gone; a settings file that cannot be written is worth a
    // line but does not make the send a failure.
    if (!saved.ok())
        printLine(stderr, saved.text());
    end(kExitHandedOver);
}

void CliSender::end(int exitCode, const QString& errorLine)
{
    if (!errorLine.isEmpty())
        printLine(stderr, errorLine);
    // The image is a temporary file of this run: it goes whatever happened.
    if (!m_faxImagePath.isEmpty())
        QFile::remove(m_faxImagePath);
    m_faxImagePath.clear();
    emit done(exitCode);
}
