#include "app/ui/TFaxHideForm.h"

#include "app/core/Prompter.h"
#include "app/core/StartCommandLine.h"
#include "editor/ui/TFaxEditForm.h"
#include "i18n/core/LanguageManager.h"
#include "settings/core/SettingsLocation.h"
#include "settings/core/TIni.h"

#include <QApplication>
#include <QFileInfo>
#include <QMutexLocker>

TFaxHideForm::TFaxHideForm(const StartEnvironment& environment) : m_environment(environment)
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
    if (settingsFileExisted) {
        languages.setCurrentLanguage(m_settings->LanguageID);
        return;
    }
    languages.setCurrentLanguage(LanguageManager::kBuiltInLanguage);
    RunStartWizard();
    wizardRan = true;
}

void TFaxHideForm::EvaluateCommandLine(bool wizardRan)
{
    const auto decision = StartCommandLine::Evaluate(m_environment.arguments);
    switch (decision.action) {
    case StartCommandLine::Action::OpenFile:
        OpenEditor(decision.firstArgument);
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
    // The options dialog is not part of this build yet.
    return false;
}

void TFaxHideForm::RunStartWizard()
{
    // The start configuration wizard is not part of this build yet.
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
    const QString trimmed = path.trimmed();
    if (trimmed.isEmpty())
        return;
    QMutexLocker lock(&QueueLock);
    IntakeQueue.append(trimmed);
}

QString TFaxHideForm::DequeueFile()
{
    QMutexLocker lock(&QueueLock);
    if (IntakeQueue.isEmpty())
        return {};
    return IntakeQueue.takeFirst();
}

void TFaxHideForm::tmWatch2Timer()
{
    tmWatch2.stop();
    const bool keepRunning = AnyEditorLeft();
    if (keepRunning) {
        tmWatch2.start();
        return;
    }
    Q_EMIT finished();
    QCoreApplication::quit();
}
