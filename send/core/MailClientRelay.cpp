#include "send/core/MailClientRelay.h"

#include "app/core/TempFolder.h"
#include "send/core/MessageCharset.h"
#include "send/core/TMapiControl.h"
#include "send/core/XdgEmailClient.h"

#include <QFile>
#include <QSaveFile>

#include <utility>

namespace {
constexpr char kListFileStamp[] = "yyyyMMdd_HHmmss";

QByteArray listFileBytes(const QStringList& lines)
{
    QString text;
    for (const QString& line : lines)
        text += line + QStringLiteral("\r\n");
    return MessageCharset::encode(text);
}

Status writeListFile(const QString& path, const QStringList& lines)
{
    QSaveFile file(path);
    // The recipients' numbers are nobody else's business on this machine.
    if (!file.open(QIODevice::WriteOnly) ||
        !file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner) ||
        file.write(listFileBytes(lines)) < 0 || !file.commit())
        return Status::failure(
            QStringLiteral("Cannot write \"%1\": %2").arg(path, file.errorString()));
    return Status::success();
}

void deleteWhenHandOffEnds(TMapiControl* control)
{
    QObject::connect(control, &TMapiControl::OnSuccess, control, &QObject::deleteLater);
    QObject::connect(control, &TMapiControl::OnUserAbort, control, &QObject::deleteLater);
    QObject::connect(control, &TMapiControl::OnMapiError, control, &QObject::deleteLater);
}
} // namespace

MailClientRelay::MailClientRelay() = default;

MailClientRelay::MailClientRelay(MailAttachmentStore store) : m_store(std::move(store)) {}

QString MailClientRelay::listFilePath(const QDateTime& now)
{
    return TempFolder::pathWithSeparator() + QStringLiteral("multyfax_") +
           now.toString(QLatin1String(kListFileStamp)) + QStringLiteral(".txt");
}

Result<QStringList> MailClientRelay::attachableCopies(const QStringList& files,
                                                      const QDateTime& now) const
{
    // The originals are no alternative: the fax image goes with the editor
    // a few seconds after the hand-over, before the mail program may read it.
    return m_store.stage(files, now);
}

Status MailClientRelay::run(std::unique_ptr<TMapiControl> control, QObject* owner,
                            const FaxRequest& request, const QString& notice, const QDateTime& now,
                            const std::function<void()>& beforeHandOff) const
{
    control->Reset();
    control->setShowDialog(true);
    control->setUseAppHandle(false);
    control->setRecipients(request.recipients);
    control->setFromAdress(request.fromAddress);
    control->setSubject(request.subject);

    QStringList files{request.faxImagePath};
    const QString listFile = request.additional.multiFax ? listFilePath(now) : QString();
    if (!listFile.isEmpty()) {
        const Status written = writeListFile(listFile, request.additional.multiFaxNumbers);
        if (!written.ok())
            return written;
        files << listFile;
    }
    const Result<QStringList> copies = attachableCopies(files, now);
    if (!copies.ok()) {
        if (!listFile.isEmpty())
            QFile::remove(listFile);
        return copies.status();
    }
    const QStringList& attached = copies.value();
    control->setAttachedFiles(attached);
    // X-MultyFax names the list file the mail program attaches.
    control->setBody(
        request.mailClientText(notice, listFile.isEmpty() ? QString() : attached.last()));

    if (beforeHandOff)
        beforeHandOff();
    TMapiControl* running = control.release();
    running->setParent(owner);
    deleteWhenHandOffEnds(running);
    running->SendMail();

    // The mail program reads its own copy; ours goes now.
    if (!listFile.isEmpty())
        QFile::remove(listFile);
    return Status::success();
}

QString MailClientRelay::failureText(qint32 errorCode)
{
    if (errorCode == XdgEmailClient::kProgramNotStarted)
        return QStringLiteral("The mail program could not be started (%1 is missing)")
            .arg(QLatin1String(XdgEmailClient::kDefaultProgram));
    return QStringLiteral("The mail program could not take the message (error %1)").arg(errorCode);
}
