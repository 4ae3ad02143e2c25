#include "send/ui/SendFaxCommand.h"

#include "app/core/Prompter.h"
#include "editor/core/FaxImage.h"
#include "editor/core/PageList.h"
#include "i18n/core/LocalizedConstants.h"
#include "i18n/core/MessageFormat.h"
#include "send/core/FaxNumber.h"
#include "send/core/MailClientRelay.h"
#include "send/core/MessageFileRelay.h"
#include "send/core/TMapiControl.h"
#include "send/core/XdgFileOpener.h"
#include "send/ui/SendFaxHost.h"
#include "send/ui/TFaxSendProgressForm.h"
#include "settings/core/TIni.h"

#include <QCoreApplication>
#include <QDateTime>

#include <algorithm>

namespace {
const QString kFaxImageExtension = QStringLiteral(".tif");

// The path with its last extension replaced by ".tif" (or ".tif" added), in
// the same folder and in the same relative or absolute form.
QString withFaxImageExtension(const QString& path)
{
    const int slash =
        int(std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\'))));
    const int dot = int(path.lastIndexOf(QLatin1Char('.')));
    const QString stem = dot > slash ? path.left(dot) : path;
    return stem + kFaxImageExtension;
}
} // namespace

SendFaxCommand::SendFaxCommand(SendFaxHost& host, const LocalizedConstants& texts,
                               TFaxSendProgressForm* progress, QObject* parent)
    : QObject(parent), m_host(host), m_texts(texts), m_progress(progress),
      m_identity(std::make_unique<HostIdentity>()), m_fileOpener(std::make_unique<XdgFileOpener>()),
      m_mailControlFactory([] { return std::make_unique<TMapiControl>(); }),
      m_handOffOwner(QCoreApplication::instance())
{
    m_successWait.setSingleShot(true);
    m_successWait.setInterval(kSuccessWaitMs);
    connect(&m_successWait, &QTimer::timeout, this, &SendFaxCommand::finishSuccess);
    connect(&m_relay, &SmtpRelay::finished, this, &SendFaxCommand::onRelayFinished);
}

SendFaxCommand::~SendFaxCommand() = default;

void SendFaxCommand::setFileOpener(std::unique_ptr<FileOpener> opener)
{
    m_fileOpener = std::move(opener);
}

void SendFaxCommand::setMailControlFactory(std::function<std::unique_ptr<TMapiControl>()> factory)
{
    m_mailControlFactory = std::move(factory);
}

void SendFaxCommand::setHostIdentity(std::unique_ptr<HostIdentity> identity)
{
    m_identity = std::move(identity);
}

void SendFaxCommand::acSendFaxExecute()
{
    // The window is hidden while a send runs; a second start from a shortcut
    // must not begin another exchange over the first.
    if (m_running)
        return;
    const AdditionalParameters additional = m_host.additionalParameters();
    if (!checkFaxNumber(additional))
        return;
    if (m_host.pageCount() == 0) {
        m_host.prompter().showError(m_texts.text(QStringLiteral("SSendFaxMessage2")));
        return;
    }
    if (!m_host.ApplyPageChanges())
        return;
    if (!writeFaxImage())
        return;
    switch (m_host.settings().EMailSendMethod) {
    case RelayInternal:
        return startInternalRelay(additional);
    case RelayMessageFile:
        return runMessageFileRelay(additional);
    case RelayMailClient:
        return runMailClientRelay(additional);
    default:
        // An unknown relay (a hand-edited settings file) sends nothing.
        return;
    }
}

bool SendFaxCommand::checkFaxNumber(const AdditionalParameters& additional)
{
    if (additional.multiFax || !ExtractFaxNumber(m_host.faxNumberText()).isEmpty())
        return true;
    m_host.prompter().showError(m_texts.text(QStringLiteral("SSendFaxMessage")));
    m_host.focusFaxNumber();
    return false;
}

bool SendFaxCommand::writeFaxImage()
{
    const QString path = withFaxImageExtension(m_host.documentFile());
    m_host.setDocumentFile(path);
    const TIni& settings = m_host.settings();
    // The output resolution is a matter of the fax image alone: the document
    // keeps its pages as they are, also for a later attempt after a failure.
    std::vector<Page> pages = m_host.pages().pages();
    ApplyFaxImageParameters(pages, {settings.ChangeOutputDPI, settings.OutputDPI});
    const Status written = WriteFaxImage(pages, path);
    if (!written.ok())
        m_host.prompter().showError(written.text());
    return written.ok();
}

FaxRequest SendFaxCommand::composeRequest(const AdditionalParameters& additional)
{
    FaxRequest::Source source = FaxRequest::Source::fromIni(m_host.settings());
    source.numberText = m_host.faxNumberText();
    source.faxImagePath = m_host.documentFile();
    source.additional = additional;
    // Every attempt starts from a fresh request: nothing of an earlier,
    // failed attempt travels with this one.
    return FaxRequest::compose(source);
}

void SendFaxCommand::startInternalRelay(const AdditionalParameters& additional)
{
    const TIni& settings = m_host.settings();
    const FaxRequest request = composeRequest(additional);

    m_running = true;
    m_host.hideWindow();
    if (m_progress) {
        m_progress->show();
        connect(&m_relay, &SmtpRelay::statusChanged, m_progress.data(),
                &TFaxSendProgressForm::addStatus, Qt::UniqueConnection);
    }
    const Status started = m_relay.start(SmtpSettings::fromIni(settings), *m_identity, request);
    if (!started.ok())
        failBeforeExchange(started.text());
}

void SendFaxCommand::runMessageFileRelay(const AdditionalParameters& additional)
{
    const FaxRequest request = composeRequest(additional);
    m_running = true;
    m_host.hideWindow();
    // Whether the desktop could open the file is not examined: the user can
    // still find it in the temporary folder.
    const Result<QString> saved =
        MessageFileRelay::run(request, m_texts.text(QStringLiteral("SSendFaxMessage3")),
                              QDateTime::currentDateTime(), *m_fileOpener);
    if (!saved.ok())
        return failBeforeExchange(saved.status().text());
    beginSuccessPath();
}

void SendFaxCommand::runMailClientRelay(const AdditionalParameters& additional)
{
    const FaxRequest request = composeRequest(additional);
    m_running = true;
    // What the mail program makes of the message is not awaited: the user
    // sends or discards it there.
    const Status handedOver =
        MailClientRelay().run(m_mailControlFactory(), m_handOffOwner, request,
                              m_texts.text(QStringLiteral("SSendFaxMessage1")),
                              QDateTime::currentDateTime(), [this] { m_host.hideWindow(); });
    if (!handedOver.ok())
        return failBeforeExchange(handedOver.text());
    beginSuccessPath();
}

void SendFaxCommand::failBeforeExchange(const QString& errorText)
{
    // Nothing went out: the window comes back with the reason.
    m_running = false;
    hideProgress();
    m_host.showWindow();
    m_host.prompter().showError(errorText);
}

void SendFaxCommand::onRelayFinished(bool ok, const QString& errorText)
{
    if (!m_running)
        return;
    if (!ok)
        return failSend(errorText);
    beginSuccessPath();
}

void SendFaxCommand::beginSuccessPath()
{
    m_host.settings().AddFaxNumberToHistory(m_host.faxNumberText());
    m_successWait.start();
}

void SendFaxCommand::finishSuccess()
{
    hideProgress();
    m_host.setSent(true);
    m_host.SaveSettings();
    m_running = false;
    emit completed(true);
    m_host.closeWindow();
}

void SendFaxCommand::failSend(const QString& errorText)
{
    m_running = false;
    hideProgress();
    m_host.showWindow();
    m_host.prompter().showError(
        MessageFormat::Format(m_texts.text(QStringLiteral("SErrorInSend")), {errorText}));
    emit completed(false);
}

void SendFaxCommand::hideProgress()
{
    if (m_progress)
        m_progress->hide();
}
