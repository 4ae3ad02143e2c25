#pragma once

#include "app/core/Status.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

// Copies of the files handed to the user's mail program. The mail program
// reads an attachment when it builds or sends the message, maybe long after
// the hand-off, while the editor deletes its fax image as soon as it closes.
// So the mail program gets copies in a folder of ours in the temporary
// folder, one sub-folder per hand-off, which nothing deletes at once; copies
// older than a day go at the next start.
class MailAttachmentStore
{
public:
    static constexpr char kFolderName[] = "quillon2-outbox";
    // Sub-folders are named after the time of the hand-off.
    static constexpr char kStampFormat[] = "yyyyMMdd_HHmmsszzz";
    static constexpr qint64 kKeepSeconds = 24 * 60 * 60;

    // The outbox in the user's temporary folder.
    MailAttachmentStore();
    explicit MailAttachmentStore(QString rootPath);

    const QString& rootPath() const { return m_root; }

    // Copies the files into a new sub-folder and returns the copies' paths in
    // the same order, each keeping its file name.
    Result<QStringList> stage(const QStringList& files, const QDateTime& now) const;

    // Removes the sub-folders staged more than kKeepSeconds before now and
    // returns how many went. Folders we did not make are left alone.
    int removeExpiredCopies(const QDateTime& now) const;
    // The same at the current time: called once at start.
    int removeExpiredCopies() const;

private:
    Status makeRoot() const;
    Result<QString> makeStageFolder(const QDateTime& now) const;

    QString m_root;
};
