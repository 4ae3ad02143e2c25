#pragma once

#include "app/core/CommandServer.h"
#include "app/core/IntakeQueue.h"
#include "app/core/StartCommandLine.h"
#include "app/core/Status.h"
#include "editor/ui/EditorHost.h"

#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

class Page;
class PrinterService;
class Prompter;
class TAddParamForm;
class TFaxEditForm;
class TFaxSendProgressForm;
class TIni;
class TNewDocForm;

// What the program was started with, and the services of the desktop it
// runs on. Tests give their own arguments, executable path and prompter.
struct StartEnvironment
{
    QStringList arguments; // without the program's own name
    QString executablePath;
    Prompter* prompter = nullptr;       // not owned; must outlive the form
    PrinterService* printers = nullptr; // not owned; may be null
    // The loopback port of the command server; tests run side by side on
    // ports of their own.
    quint16 commandPort = CommandServer::kDefaultPort;
    // The modal dialogs of the start and of the Options command; empty means
    // the real ones. Tests answer them without a screen. Both return whether
    // the user confirmed.
    std::function<bool(TIni&, Prompter&)> startWizard;
    std::function<bool(TIni&, Prompter&, const QString& settingsFileName)> optionsDialog;
};

// The program's hidden main window. It is never shown: it owns the settings,
// opens an editor window per document, takes in documents handed over by
// later starts, and ends the process once no editor window is left.
class TFaxHideForm : public QWidget, public EditorHost
{
    Q_OBJECT

public:
    static constexpr int kWatchIntervalMs = 1000;

    // Runs the whole start: settings, language, first-start wizard, command
    // line; the watch timer is running when the constructor returns.
    explicit TFaxHideForm(const StartEnvironment& environment);
    ~TFaxHideForm() override;

    // EditorHost
    TIni& Settings() override;
    // Writes the settings file; a failure reaches the user as an error box.
    void SaveSettings() override;
    bool ShowOptions() override;
    Prompter& prompter() override;
    TFaxSendProgressForm* sendProgress() override;
    AdditionalParameters additionalParameters() const override;
    void ShowAdditionalParameters() override;

    void LoadSettings();
    // Writes the settings file and says whether that worked, without a message.
    Status WriteSettingsFile() const;
    // Opens an editor window on a document; an empty path opens an empty one.
    void OpenEditor(const QString& path);
    void RunStartWizard();

    // The intake queue of documents handed over by later starts.
    void EnqueueFile(const QString& path);
    QString DequeueFile();

    // The editor windows that are open, oldest first.
    QList<TFaxEditForm*> EditorWindows() const;

    // The intake dialog, created with this window and reused for every intake.
    TNewDocForm& NewDocForm() { return *m_newDocForm; }
    // The additional parameters dialog, one for all editors: what a user sets
    // there holds for every later fax until changed.
    TAddParamForm& AddParamForm() { return *m_addParamForm; }
    // The command server listens (this start was given a document).
    bool isCommandServerActive() const { return IdTCPServer1.isActive(); }

    QString SettingsFileName;

Q_SIGNALS:
    // The process is ending: no editor window is left.
    void finished();

private Q_SLOTS:
    void tmWatch2Timer();

private:
    void FormCreate();
    void FormDestroy();
    void ChooseStartLanguage(bool settingsFileExisted, bool& wizardRan);
    void EvaluateCommandLine(bool wizardRan);
    void ShowUsage(const QString& firstArgument);
    bool AnyEditorLeft() const;
    void EndProcess();

    void StartWithDocument(const StartCommandLine::Decision& decision);
    void HandOverToRunningInstance(const StartCommandLine::Decision& decision);
    void OpenLocallyAfterFailedHandOff(const StartCommandLine::Decision& decision);
    // One intake: offers the document to the user and does what was chosen.
    Status TakeInDocument(const QString& path);
    void AddPagesToEditor(TFaxEditForm* editor, const std::vector<Page>& pages);

    StartEnvironment m_environment;
    // Created before anything else of the window: the command server's
    // thread appends to it from the moment the server listens.
    IntakeQueue m_intakeQueue;
    CommandServer IdTCPServer1;
    std::unique_ptr<TNewDocForm> m_newDocForm;
    std::unique_ptr<TAddParamForm> m_addParamForm;
    // Made at the first send and kept for the rest of the process.
    std::unique_ptr<TFaxSendProgressForm> m_sendProgress;
    std::unique_ptr<TIni> m_settings;
    QList<QPointer<TFaxEditForm>> m_editors;
    QTimer tmWatch2;
};
