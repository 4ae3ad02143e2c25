#pragma once

#include "send/core/AdditionalParameters.h"

class Prompter;
class TFaxSendProgressForm;
class TIni;

// What an editor window needs of the process around it: the one settings
// object, a way to have it written, the options dialog and the modal
// questions. The hidden main window serves every editor through it; a test
// serves one with a settings object and scripted answers of its own.
class EditorHost
{
public:
    virtual ~EditorHost() = default;

    virtual TIni& Settings() = 0;
    // Writes the settings object to the settings file.
    virtual void SaveSettings() = 0;
    // Runs the options dialog; true when the user confirmed it.
    virtual bool ShowOptions() = 0;
    virtual Prompter& prompter() = 0;

    // The process-wide services below come with the send command; a host
    // without them (a test) keeps the defaults.

    // The "Sending mail" progress window shared by all editors, if any.
    virtual TFaxSendProgressForm* sendProgress() { return nullptr; }
    // What the additional parameters dialog holds right now.
    virtual AdditionalParameters additionalParameters() const { return {}; }
    // Shows the additional parameters dialog (the "..." button).
    virtual void ShowAdditionalParameters() {}

protected:
    EditorHost() = default;
    EditorHost(const EditorHost&) = default;
    EditorHost& operator=(const EditorHost&) = default;
};
