#pragma once

#include "app/core/Status.h"
#include "send/core/FaxRequest.h"
#include "send/core/MailAttachmentStore.h"

#include <QDateTime>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class TMapiControl;

// The relay through the user's mail program ("EMailSendMethod" 0): the
// request in its mail client rendering, handed to the mail program's compose
// window with the fax image (and in multi-address mode the list file)
// attached. The user sends it from there.
class MailClientRelay
{
public:
    // The outbox in the temporary folder.
    MailClientRelay();
    explicit MailClientRelay(MailAttachmentStore store);

    // "multyfax_" with the time stamp and ".txt" in the temporary folder.
    static QString listFilePath(const QDateTime& now);

    // Fills the control for the request, calls beforeHandOff (the editor
    // hides its window there) and starts the hand-off. The control then lives
    // under owner until its event (connect to it before) and deletes itself
    // after; owner must outlive the editor window, since the mail program may
    // take its time. Fails only when the list file cannot be written; what
    // the mail program makes of the message is not awaited.
    Status run(std::unique_ptr<TMapiControl> control, QObject* owner, const FaxRequest& request,
               const QString& notice, const QDateTime& now,
               const std::function<void()>& beforeHandOff) const;

    // What to tell the user when the hand-off failed with this code.
    static QString failureText(qint32 errorCode);

private:
    // The files to attach: copies in the outbox where that works, else the
    // originals (the mail program then races the editor's clean-up).
    Result<QStringList> attachableCopies(const QStringList& files, const QDateTime& now) const;

    MailAttachmentStore m_store;
};
