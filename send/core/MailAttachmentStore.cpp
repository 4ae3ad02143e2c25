#include "send/core/MailAttachmentStore.h"

#include "app/core/TempFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <unistd.h>

#include <utility>

namespace {
constexpr QFileDevice::Permissions kOwnerOnly =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;
// Two hand-offs within one millisecond get their own folders all the same.
constexpr int kMaxStageAttempts = 100;

// The temporary folder is shared with every user of the machine: the outbox
// must be a real folder of ours, not something planted under its name.
bool isOurFolder(const QFileInfo& info)
{
    return info.isDir() && !info.isSymLink() && info.ownerId() == ::getuid();
}
} // namespace

MailAttachmentStore::MailAttachmentStore()
    : MailAttachmentStore(TempFolder::pathWithSeparator() + QLatin1String(kFolderName))
{
}

MailAttachmentStore::MailAttachmentStore(QString rootPath) : m_root(std::move(rootPath)) {}

Status MailAttachmentStore::makeRoot() const
{
    const QFileInfo root(m_root);
    if (!root.exists() && !root.isSymLink() && !QDir().mkdir(m_root, kOwnerOnly))
        return Status::failure(QStringLiteral("Cannot create the folder \"%1\".").arg(m_root));
    if (!isOurFolder(QFileInfo(m_root)))
        return Status::failure(
            QStringLiteral("\"%1\" is not a folder of this user; it is left alone.").arg(m_root));
    return Status::success();
}

Result<QString> MailAttachmentStore::makeStageFolder(const QDateTime& now) const
{
    const QString stamp = now.toString(QLatin1String(kStampFormat));
    for (int attempt = 0; attempt < kMaxStageAttempts; ++attempt) {
        const QString name =
            attempt == 0 ? stamp : stamp + QLatin1Char('-') + QString::number(attempt);
        const QString path = m_root + QLatin1Char('/') + name;
        if (QDir().mkdir(path, kOwnerOnly))
            return path;
    }
    return Status::failure(QStringLiteral("Cannot create a folder in \"%1\".").arg(m_root));
}

Result<QStringList> MailAttachmentStore::stage(const QStringList& files, const QDateTime& now) const
{
    const Status root = makeRoot();
    if (!root.ok())
        return root;
    const Result<QString> folder = makeStageFolder(now);
    if (!folder.ok())
        return folder.status();
    QStringList copies;
    for (const QString& file : files) {
        const QString copy = folder.value() + QLatin1Char('/') + QFileInfo(file).fileName();
        if (!QFile::copy(file, copy)) {
            QDir(folder.value()).removeRecursively();
            return Status::failure(
                QStringLiteral("Cannot copy \"%1\" to \"%2\".").arg(file, folder.value()));
        }
        copies << copy;
    }
    return copies;
}

int MailAttachmentStore::removeExpiredCopies(const QDateTime& now) const
{
    if (!isOurFolder(QFileInfo(m_root)))
        return 0;
    int removed = 0;
    const QDir root(m_root);
    for (const QFileInfo& entry : root.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        // "-N" marks a second folder of the same millisecond.
        const QString stamp = entry.fileName().section(QLatin1Char('-'), 0, 0);
        const QDateTime staged = QDateTime::fromString(stamp, QLatin1String(kStampFormat));
        if (!staged.isValid() || !isOurFolder(entry))
            continue;
        if (staged.secsTo(now) > kKeepSeconds && QDir(entry.filePath()).removeRecursively())
            ++removed;
    }
    return removed;
}

int MailAttachmentStore::removeExpiredCopies() const
{
    return removeExpiredCopies(QDateTime::currentDateTime());
}
