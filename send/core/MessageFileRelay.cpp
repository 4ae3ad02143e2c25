#include "send/core/MessageFileRelay.h"

#include "app/core/TempFolder.h"
#include "send/core/FileOpener.h"
#include "send/core/MimeComposer.h"

#include <QSaveFile>

QString MessageFileRelay::messageFilePath(const QDateTime& now)
{
    return TempFolder::pathWithSeparator() + QLatin1String(kPrefix) +
           now.toString(QLatin1String(kStampFormat)) + QLatin1String(kExtension);
}

Status MessageFileRelay::saveMessage(const QString& path, const QByteArray& message)
{
    QSaveFile file(path);
    // The message carries the account data (X-Password): others on this
    // machine have no business reading it in the shared temporary folder.
    if (!file.open(QIODevice::WriteOnly) ||
        !file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner) ||
        file.write(message) != message.size() || !file.commit())
        return Status::failure(
            QStringLiteral("Cannot save the message \"%1\": %2").arg(path, file.errorString()));
    return Status::success();
}

Result<QString> MessageFileRelay::run(const FaxRequest& request, const QString& notice,
                                      const QDateTime& now, FileOpener& opener)
{
    const Result<QByteArray> message = MimeComposer::bodyRendering(request, notice, now);
    if (!message.ok())
        return message.status();
    const QString path = messageFilePath(now);
    const Status saved = saveMessage(path, message.value());
    if (!saved.ok())
        return saved;
    opener.open(path);
    return path;
}
