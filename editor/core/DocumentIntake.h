#pragma once

#include "app/core/Status.h"
#include "editor/core/Page.h"

#include <QDateTime>
#include <QString>

#include <vector>

// How an editor takes an incoming document over. The virtual printer writes
// its job into its spool folder, and documents can also arrive in the
// temporary folder; such files belong to us: they are moved to a working name
// ("file_" + a 17-digit local time stamp + the original extension) in their
// own folder, read, and deleted. Any other file (a path the user typed on the
// command line) is the user's: it is read where it stands and never moved or
// deleted, and the working name is made in the temporary folder instead.
struct IntakeDocument
{
    // FDocumentFile: the working name; the fax image is later written beside
    // it with the extension ".tif".
    QString documentFile;
    // The file the start-up load reads; empty for a new, empty document.
    QString readFrom;
    // The file under readFrom is ours and is deleted once it has been read.
    bool deleteAfterRead = false;
    // The number box text: the document's base name in parentheses.
    QString faxNumberText;
    // A document started empty (one blank page, nothing to read).
    bool isNew = false;
};

class DocumentIntake
{
public:
    // Size of the blank page of a new document: A4 at about 200 dpi.
    static constexpr int kBlankPageWidth = 1664;
    static constexpr int kBlankPageHeight = 2338;

    // The virtual printer's spool folder: $XDG_RUNTIME_DIR/quillon2-spool when
    // XDG_RUNTIME_DIR is set (a private per-user folder), otherwise
    // quillon2-spool inside the temporary folder.
    static QString SpoolFolder();
    // True for files directly inside the temporary folder or the spool folder.
    static bool IsTakeOverFolder(const QString& filePath);

    // "yyyyMMddhhmmsszzz": 17 digits of local time.
    static QString TimeStamp(const QDateTime& time);
    // "(" + file name without folder and last extension + ")".
    static QString FaxNumberComment(const QString& filePath);
    // folder/file_<stamp><extension>, or file_<stamp>_1<extension>, _2, ... when
    // that name is taken, so that two documents arriving in the same
    // millisecond never share one.
    static QString UniqueWorkingName(const QString& folder, const QString& extension,
                                     const QDateTime& time);

    // Takes the incoming file over (moves it when it is ours). When the move
    // fails the file is read where it stands and kept.
    static IntakeDocument TakeOver(const QString& incomingPath,
                                   const QDateTime& time = QDateTime::currentDateTime());
    // A new, empty document: no file to read; its working name lies in the
    // temporary folder.
    static IntakeDocument NewDocument(const QDateTime& time = QDateTime::currentDateTime());
    // The one white 1-bit page of a new document.
    static Page BlankPage();

    // The start-up load: reads readFrom and, when the read succeeded and the
    // file is ours, deletes it; a file that could not be read is left on disk.
    // A new document gives its one blank page.
    static Result<std::vector<Page>> ReadDocument(const IntakeDocument& document);
};
