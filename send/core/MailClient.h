#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <vector>

// One message for the user's mail program: everything the mail-client relay
// hands over. Attachments are files on disk, given by their full paths; the
// name to show is the name part of each path.
struct MailClientMessage
{
    QString subject;
    QString body;
    QString fromName;
    QString fromAddress;
    QStringList to;
    QStringList cc;
    QStringList bcc;
    QStringList attachmentPaths;
    // Open the mail program's compose window rather than send at once.
    bool showDialog = false;
};

// Hands a message over to the user's mail program. The hand-off runs without
// blocking the caller: exactly one of the signals follows once the desktop
// has taken the message or failed to, since a mail program started for the
// purpose may stay in the foreground until the user closes it.
class MailClient : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;
    ~MailClient() override;

    virtual void send(const MailClientMessage& message) = 0;

Q_SIGNALS:
    void handedOver();
    // Only where the desktop tells a cancelled compose window apart.
    void userAborted();
    // code: what the implementation reports (an exit status, an error code).
    void failed(int code);
};
