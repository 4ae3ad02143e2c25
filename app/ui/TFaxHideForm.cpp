#include "app/ui/TFaxHideForm.h"

#include "app/core/FileHandOff.h"
#include "app/core/Prompter.h"
#include "app/ui/TNewDocForm.h"
#include "editor/core/DocumentReaders.h"
#include "editor/core/PageList.h"
#include "editor/ui/FaxNumberBox.h"
#include "editor/ui/TFaxEditForm.h"
#include "i18n/core/LanguageManager.h"
#include "i18n/core/LanguageNames.h"
#include "i18n/core/MessageFormat.h"
#include "send/core/MailAttachmentStore.h"
#include "send/ui/TAddParamForm.h"
#include "send/ui/TFaxSendProgressForm.h"
#include "settings/core/SettingsLocation.h"
#include "settings/core/TIni.h"
#include "settings/ui/TFaxOptionsForm.h"
#include "settings/ui/TFaxStartConfigForm.h"

#include <QApplication>
#include <QFileInfo>
#include <QTimer>

TFaxHideForm::TFaxHideForm(const StartEnvironment& environment)
    : m_environment(environment), IdTCPServer1(m_intakeQueue, environment.commandPort),
      m_newDocForm(std::make_unique<TNewDocForm>()),
      m_addParamForm(std::make_unique<TAddParamForm>(*environment.prompter))
{
    Q_ASSERT(m_environment.prompter);
    setObjectName(QStringLiteral("FaxHideForm"));
    tmWatch2.setInterval(kWatchIntervalMs);
    connect(&tmWatch2, &QTimer::timeout, this, &TFaxHideForm::tmWatch2Timer);
    FormCreate();
}

TFaxHideForm::~TFaxHideForm()
{
    FormDestroy();
}

void TFaxHideForm::FormCreate()
{
    bool wizardRan = false;
    SettingsFileName = SettingsLocation::SettingsFileName(m_environment.executablePath);
    const bool settingsFileExisted = QFileInfo::exists(SettingsFileName);

    m_settings = std::make_unique<TIni>(m_environment.printers);
    LoadSettings();
    // Copies handed to the mail program at an earlier send are no longer
    // read by anybody after a day.
    MailAttachmentStore().removeExpiredCopies();

    ChooseStartLanguage(settingsFileExisted, wizardRan);
    EvaluateCommandLine(wizardRan);
    tmWatch2.start();
}

void TFaxHideForm::FormDestroy()
{
    // Every instance writes its settings on the way out, so that a cancelled
    // first-start wizard does not come back at the next start. Nobody is left
    // to hear of a failure here.
    WriteSettingsFile();
    for (const QPointer<TFaxEditForm>& editor : std::as_const(m_editors))
        delete editor.data();
    m_editors.clear();
    m_settings.reset();
}

void TFaxHideForm::ChooseStartLanguage(bool settingsFileExisted, bool& wizardRan)
{
    auto& languages = LanguageManager::instance();
    languages.registerLanguageFiles(QFileInfo(m_environment.executablePath).absolutePath());
    // A language that is not installed falls back to English; the stored
    // choice stays as it is until the user picks another.
    const int wanted = settingsFileExisted ? m_settings->LanguageID : SystemDefaultLanguageId();
    const Status chosen = languages.setCurrentLanguage(wanted);
    if (!chosen.ok())
        prompter().showError(chosen.text());
    if (settingsFileExisted)
        return;
    RunStartWizard();
    wizardRan = true;
}

void TFaxHideForm::EvaluateCommandLine(bool wizardRan)
{
    const auto decision = StartCommandLine::Evaluate(m_environment.arguments);
    switch (decision.action) {
    case StartCommandLine::Action::OpenFile:
        StartWithDocument(decision);
        break;
    case StartCommandLine::Action::InstallWizard:
        if (!wizardRan)
            RunStartWizard();
        break;
    case StartCommandLine::Action::NewDocument:
        OpenEditor(QString());
        break;
    case StartCommandLine::Action::Unusable:
        ShowUsage(decision.firstArgument);
        break;
    }
}

void TFaxHideForm::StartWithDocument(const StartCommandLine::Decision& decision)
{
    const auto activation = IdTCPServer1.Activate();
    switch (activation.outcome) {
    case CommandServer::Activation::AddressInUse:
        HandOverToRunningInstance(decision);
        return;
    case CommandServer::Activation::Failed:
        // Without a server later documents cannot reach this instance, but
        // the document in hand is still opened rather than left unseen.
        prompter().showInformation(activation.errorText);
        break;
    case CommandServer::Activation::Listening:
        break;
    }
    OpenEditor(decision.firstArgument);
}

void TFaxHideForm::HandOverToRunningInstance(const StartCommandLine::Decision& decision)
{
    IdTCPServer1.Deactivate();
    const quint16 port = m_environment.commandPort;
    // The port is one for all users of the machine. A server of another
    // user must not get our document (nor we its questions): this start
    // then simply edits the document itself, without a server.
    if (FileHandOff::OwnerOfServer(port) == FileHandOff::ServerOwner::OtherUser) {
        OpenEditor(decision.firstArgument);
        return;
    }
    if (!FileHandOff::HandOver(decision.firstArgument, port).ok()) {
        OpenLocallyAfterFailedHandOff(decision);
        return;
    }
    // quit() does nothing before the event loop runs: end once it does.
    QTimer::singleShot(0, this, &TFaxHideForm::EndProcess);
}

void TFaxHideForm::OpenLocallyAfterFailedHandOff(const StartCommandLine::Decision& decision)
{
    prompter().showError(LangConst(QStringLiteral("SErrorFileLinkTransfer")));
    // File names are case-sensitive here, so the lower-cased joined line
    // rarely names the file: the argument as given is tried first.
    for (const QString& candidate : {decision.firstArgument, decision.joinedLine}) {
        if (IntakeQueue::IsIntakeFile(candidate)) {
            OpenEditor(candidate);
            return;
        }
    }
    prompter().showError(
        MessageFormat::Format(LangConst(QStringLiteral("SStartCPError")), {decision.joinedLine}));
}

void TFaxHideForm::ShowUsage(const QString& firstArgument)
{
    prompter().showError(LangConst(QStringLiteral("SStartNoParams")) + QLatin1Char('\r') +
                         firstArgument);
}

TIni& TFaxHideForm::Settings()
{
    return *m_settings;
}

Prompter& TFaxHideForm::prompter()
{
    return *m_environment.prompter;
}

void TFaxHideForm::LoadSettings()
{
    if (m_settings)
        m_settings->LoadFromFile(SettingsFileName);
}

Status TFaxHideForm::WriteSettingsFile() const
{
    if (!m_settings)
        return Status::success();
    return m_settings->SaveToFile(SettingsFileName);
}

void TFaxHideForm::SaveSettings()
{
    const Status saved = WriteSettingsFile();
    if (!saved.ok())
        prompter().showError(saved.text());
}

bool TFaxHideForm::ShowOptions()
{
    // The dialog writes the settings file itself after OK and reports a
    // failure to write it.
    if (m_environment.optionsDialog)
        return m_environment.optionsDialog(*m_settings, prompter(), SettingsFileName);
    return ::ShowOptions(*m_settings, prompter(), SettingsFileName);
}

void TFaxHideForm::RunStartWizard()
{
    const bool confirmed = m_environment.startWizard
                               ? m_environment.startWizard(*m_settings, prompter())
                               : ::RunStartWizard(*m_settings, prompter());
    if (confirmed)
        SaveSettings();
}

TFaxSendProgressForm* TFaxHideForm::sendProgress()
{
    if (!m_sendProgress)
        m_sendProgress = std::make_unique<TFaxSendProgressForm>();
    return m_sendProgress.get();
}

AdditionalParameters TFaxHideForm::additionalParameters() const
{
    return m_addParamForm->parameters();
}

void TFaxHideForm::ShowAdditionalParameters()
{
    m_addParamForm->showModal();
}

void TFaxHideForm::OpenEditor(const QString& path)
{
    auto editor = std::make_unique<TFaxEditForm>(*this);
    TFaxEditForm* window = editor.get();
    m_editors.append(window);
    // The window deletes itself when closed; until then it is tracked here
    // and deleted with this form at the latest.
    editor.release();
    window->OpenDocument(path);
}

QList<TFaxEditForm*> TFaxHideForm::EditorWindows() const
{
    QList<TFaxEditForm*> result;
    for (const QPointer<TFaxEditForm>& editor : m_editors) {
        if (editor)
            result.append(editor.data());
    }
    return result;
}

bool TFaxHideForm::AnyEditorLeft() const
{
    return !EditorWindows().isEmpty();
}

void TFaxHideForm::EnqueueFile(const QString& path)
{
    m_intakeQueue.EnqueueFile(path);
}

QString TFaxHideForm::DequeueFile()
{
    return m_intakeQueue.DequeueFile();
}

void TFaxHideForm::tmWatch2Timer()
{
    // No second intake may start while this one waits for the user.
    tmWatch2.stop();
    const QString path = DequeueFile();
    // A path that names no readable regular file (gone meanwhile, or a
    // directory, device or pipe) is dropped without a word.
    if (IntakeQueue::IsIntakeFile(path)) {
        const Status taken = TakeInDocument(path);
        if (!taken.ok())
            prompter().showError(taken.text());
    }
    NewDocForm().ClearLists();
    if (AnyEditorLeft()) {
        tmWatch2.start();
        return;
    }
    // Stop taking documents before deciding to end: a path handed over
    // meanwhile was answered "200 OK", so it must still be offered.
    IdTCPServer1.Deactivate();
    if (m_intakeQueue.count() > 0) {
        tmWatch2.start();
        return;
    }
    EndProcess();
}

Status TFaxHideForm::TakeInDocument(const QString& path)
{
    TNewDocForm& dialog = NewDocForm();
    for (TFaxEditForm* editor : EditorWindows()) {
        // An editor hidden by a send in progress closes when the send ends:
        // pages added to it now would be lost.
        if (!editor->isVisible())
            continue;
        const PageList& pages = editor->pages();
        if (!pages.isEmpty())
            dialog.AddOpenDocument(pages.page(0), editor->cbFaxNumber()->currentText(), editor);
    }
    auto incoming = DocumentReaders::read(path);
    if (!incoming.ok())
        return incoming.status();
    dialog.SetIncomingPages(std::move(incoming).value());

    switch (dialog.Run()) {
    case TNewDocForm::kResultAdd:
        AddPagesToEditor(qobject_cast<TFaxEditForm*>(dialog.ChosenDocument()),
                         dialog.incomingPages());
        break;
    case TNewDocForm::kResultNew:
        OpenEditor(path);
        break;
    default:
        // Cancelled: the path is dropped, the file stays where it is.
        break;
    }
    return Status::success();
}

void TFaxHideForm::AddPagesToEditor(TFaxEditForm* editor, const std::vector<Page>& pages)
{
    // The chosen editor may have been closed while the dialog was open.
    if (!editor)
        return;
    editor->pages().append(pages);
    editor->raise();
    editor->activateWindow();
}

void TFaxHideForm::EndProcess()
{
    Q_EMIT finished();
    QCoreApplication::quit();
}
