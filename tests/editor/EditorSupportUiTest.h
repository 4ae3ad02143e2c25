#pragma once

#include "editor/ui/EditorHost.h"
#include "editor/ui/TFaxEditForm.h"
#include "settings/core/TIni.h"
#include "tests/support/ScriptedPrompter.h"

#include <QByteArray>
#include <QImage>
#include <QPointer>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <tiffio.h>

#include <vector>

namespace editorui {

// Serves one editor window in a test: its own settings object, scripted
// answers, and counts of what the editor asked of the process.
class TestEditorHost : public EditorHost
{
public:
    TIni& Settings() override { return settings; }
    void SaveSettings() override { ++settingsSaves; }
    bool ShowOptions() override
    {
        ++optionsShown;
        return false;
    }
    Prompter& prompter() override { return prompts; }

    TIni settings;
    ScriptedPrompter prompts;
    int settingsSaves = 0;
    int optionsShown = 0;
};

// One page of a test TIFF file and how it is stored.
struct TiffTestPage
{
    // Format_Mono (index 0 white), Format_Grayscale8 or Format_RGB32.
    QImage image;
    uint16_t compression = COMPRESSION_NONE;
    int dpi = 200;
};

// Writes a multi-page TIFF with libtiff; fails the test on error.
void WriteTestTiff(const QString& path, const std::vector<TiffTestPage>& pages);
// A white 1-bit page with a black bar across its top rows.
QImage BilevelPage(int width, int height);
QImage GreyPage(int width, int height);
QImage ColourPage(int width, int height);
// The four pages of the mixed test document: G4, LZW grey, plain colour,
// PackBits 1-bit.
std::vector<TiffTestPage> MixedDocument();

// Runs the event loop until the condition holds or the time is up.
template <typename Condition> bool WaitFor(Condition condition, int timeoutMs = 5000);

// Base of the editor window tests: a temporary folder of its own that the
// process takes as its temporary folder (so "ours" and "the user's" files can
// both be made), a host, and at most one editor window.
class EditorWindowTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // A file directly in the temporary folder: the editor takes it over.
    QString spoolPath(const QString& name) const;
    // A file in a folder of the user's: the editor leaves it alone.
    QString userPath(const QString& name) const;

    // Creates an editor, opens the document and waits for the start-up load.
    TFaxEditForm& openEditor(const QString& path);
    void closeEditor();

    TestEditorHost host;
    QPointer<TFaxEditForm> form;

private:
    QTemporaryDir m_base;
    QByteArray m_savedTmpDir;
    bool m_hadTmpDir = false;
};

} // namespace editorui

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

template <typename Condition> bool editorui::WaitFor(Condition condition, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return true;
}
