#pragma once

#include "app/core/Status.h"
#include "send/core/AdditionalParameters.h"

#include <QString>

class PageList;
class Prompter;
class TIni;

// What the send command needs of the editor window it sends from. The editor
// implements it; tests implement it without a window.
class SendFaxHost
{
public:
    virtual ~SendFaxHost() = default;

    // The whole text of the fax number box, comment included.
    virtual QString faxNumberText() const = 0;
    // Gives the number box the focus when it is visible.
    virtual void focusFaxNumber() = 0;
    virtual int pageCount() const = 0;
    // Stores the page being edited into the page list; false when the user
    // cancels at the question whether to apply the changes.
    virtual bool ApplyPageChanges() = 0;
    // The document's pages, made ready for the fax image in place.
    virtual PageList& pages() = 0;
    // The working file (FDocumentFile); it becomes the fax image's path.
    virtual QString documentFile() const = 0;
    virtual void setDocumentFile(const QString& path) = 0;
    virtual void hideWindow() = 0;
    virtual void showWindow() = 0;
    // Closes (and frees) the editor window; called last.
    virtual void closeWindow() = 0;
    // FSent: the editor deletes the fax image when it goes with this set.
    virtual void setSent(bool sent) = 0;
    virtual TIni& settings() = 0;
    // Writes the settings file.
    virtual void SaveSettings() = 0;
    virtual Prompter& prompter() = 0;
    // What the additional parameters dialog holds at the time of the send.
    virtual AdditionalParameters additionalParameters() const { return {}; }
};
