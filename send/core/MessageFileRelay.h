#pragma once

#include "app/core/Status.h"
#include "send/core/FaxRequest.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

class FileOpener;

// The relay through a message file ("EMailSendMethod" 2): the request in its
// body rendering is saved as a complete e-mail in the temporary folder and
// opened with the desktop's program for e-mail files. The notice at the top
// of the text asks the user to send it again from there. The file stays; we
// never delete it, the mail program may still be showing it.
class MessageFileRelay
{
public:
    static constexpr char kPrefix[] = "temp_";
    static constexpr char kStampFormat[] = "yyyyMMdd_HHmmss";
    // Desktops here associate e-mail files (message/rfc822) with ".eml".
    static constexpr char kExtension[] = ".eml";

    // "temp_" with the time stamp and ".eml" in the temporary folder. Two
    // runs within one second share the name; the later file replaces the
    // earlier.
    static QString messageFilePath(const QDateTime& now);

    // Writes the message whole or not at all: a failure leaves an earlier
    // file of that name as it was and no half-written one.
    static Status saveMessage(const QString& path, const QByteArray& message);

    // Composes, saves and opens the message file; returns its path. Whether
    // the desktop could open it is not examined (the user can still find the
    // file); a message that cannot be composed or saved is a failure.
    static Result<QString> run(const FaxRequest& request, const QString& notice,
                               const QDateTime& now, FileOpener& opener);
};
