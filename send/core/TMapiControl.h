#pragma once

#include "send/core/MailClient.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

// Hands a message to the user's mail program, which opens its compose window
// filled in. The mail program itself is reached through a MailClient (on
// this desktop xdg-email); see XdgEmailClient for what it cannot carry.
//
// SendMail starts the hand-off and returns; exactly one of OnSuccess,
// OnUserAbort and OnMapiError follows when the hand-off has ended. Keep the
// control alive until then (give it a parent and delete it on the event).
class TMapiControl : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString Subject READ Subject WRITE setSubject)
    Q_PROPERTY(QString Body READ Body WRITE setBody)
    Q_PROPERTY(QString FromName READ FromName WRITE setFromName)
    Q_PROPERTY(QString FromAdress READ FromAdress WRITE setFromAdress)
    Q_PROPERTY(QStringList Recipients READ Recipients WRITE setRecipients)
    Q_PROPERTY(QStringList CopyTo READ CopyTo WRITE setCopyTo)
    Q_PROPERTY(QStringList BlindCopyTo READ BlindCopyTo WRITE setBlindCopyTo)
    Q_PROPERTY(QStringList AttachedFiles READ AttachedFiles WRITE setAttachedFiles)
    Q_PROPERTY(QStringList DisplayFileName READ DisplayFileName)
    Q_PROPERTY(bool ShowDialog READ ShowDialog WRITE setShowDialog)
    Q_PROPERTY(bool UseAppHandle READ UseAppHandle WRITE setUseAppHandle)

public:
    // Hands over through xdg-email.
    explicit TMapiControl(QObject* parent = nullptr);
    // Hands over through the given client (another desktop, a test).
    TMapiControl(std::unique_ptr<MailClient> client, QObject* parent = nullptr);
    ~TMapiControl() override;

    const QString& Subject() const { return m_subject; }
    void setSubject(const QString& subject) { m_subject = subject; }
    const QString& Body() const { return m_body; }
    void setBody(const QString& body) { m_body = body; }
    // Not carried by xdg-email: the mail program sends from its own account.
    const QString& FromName() const { return m_fromName; }
    void setFromName(const QString& name) { m_fromName = name; }
    const QString& FromAdress() const { return m_fromAdress; }
    void setFromAdress(const QString& address) { m_fromAdress = address; }

    // The lists: To, Cc and Bcc recipients (one address per line) and the
    // full paths of the attachments. The add...() forms append one line.
    const QStringList& Recipients() const { return m_recipients; }
    void setRecipients(const QStringList& lines) { m_recipients = lines; }
    void addRecipient(const QString& address) { m_recipients << address; }
    const QStringList& CopyTo() const { return m_copyTo; }
    void setCopyTo(const QStringList& lines) { m_copyTo = lines; }
    const QStringList& BlindCopyTo() const { return m_blindCopyTo; }
    void setBlindCopyTo(const QStringList& lines) { m_blindCopyTo = lines; }
    const QStringList& AttachedFiles() const { return m_attachedFiles; }
    void setAttachedFiles(const QStringList& paths) { m_attachedFiles = paths; }
    void addAttachedFile(const QString& path) { m_attachedFiles << path; }
    // The names shown for the attachments: the name part of each path, as of
    // the last SendMail.
    const QStringList& DisplayFileName() const { return m_displayFileName; }

    // Let the mail program show its compose window. xdg-email always opens
    // it, so false cannot send without one on this desktop.
    bool ShowDialog() const { return m_showDialog; }
    void setShowDialog(bool show) { m_showDialog = show; }
    // Make the application's main window the parent of the mail program's
    // windows; xdg-email has no way to say so, the flag is kept for callers.
    bool UseAppHandle() const { return m_useAppHandle; }
    void setUseAppHandle(bool use) { m_useAppHandle = use; }

    // Empties the texts and all five lists.
    void Reset();
    void SendMail();

    // The message as SendMail hands it over.
    MailClientMessage message() const;

Q_SIGNALS:
    void OnUserAbort();
    // errorCode: the mail hand-off's failure code; for xdg-email its exit
    // status, or XdgEmailClient::kProgramNotStarted when it is missing.
    void OnMapiError(qint32 errorCode);
    void OnSuccess();

private:
    std::unique_ptr<MailClient> m_client;
    QString m_subject;
    QString m_body;
    QString m_fromName;
    QString m_fromAdress;
    QStringList m_recipients;
    QStringList m_copyTo;
    QStringList m_blindCopyTo;
    QStringList m_attachedFiles;
    QStringList m_displayFileName;
    bool m_showDialog = false;
    bool m_useAppHandle = false;
};
