#pragma once

#include "app/core/Status.h"
#include "editor/ui/EditorHost.h"

#include <QMutex>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <memory>

class PrinterService;
class Prompter;
class TFaxEditForm;
class TIni;

// What the program was started with, and the services of the desktop it
// runs on. Tests give their own arguments, executable path and prompter.
struct StartEnvironment
{
    QStringList arguments; // without the program's own name
    QString executablePath;
    Prompter* prompter = nullptr;       // not owned; must outlive the form
    PrinterService* printers = nullptr; // not owned; may be null
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

    StartEnvironment m_environment;
    QMutex QueueLock;
    QStringList IntakeQueue;
    std::unique_ptr<TIni> m_settings;
    QList<QPointer<TFaxEditForm>> m_editors;
    QTimer tmWatch2;
};
