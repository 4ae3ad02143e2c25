#pragma once

#include "editor/core/DocumentReader.h"

#include <QString>
#include <QStringList>

#include <memory>

// The one place that maps a document file's extension (compared in lower
// case) to the way it is read.
class DocumentReaders
{
public:
    enum class Kind {
        Tiff,         // .tif .tiff .fax .g3f .g3n .xif: multi-page TIFF
        Gif,          // .gif: every frame a page
        Dcx,          // .dcx: multi-page DCX (not read yet)
        Icon,         // .ico: every image a page
        Video,        // .avi: video frames (not read)
        Dicom,        // .dicom .dcm .dic .v2 (not read)
        SinglePicture // anything else: one picture, one page
    };

    static Kind kindOf(const QString& path);
    // The reader for the file, or nullptr when its kind is one we do not read.
    static std::unique_ptr<DocumentReader> readerFor(const QString& path);
    // Reads the whole file with the reader its extension calls for; a kind we
    // do not read gives a failure naming the file.
    static Result<std::vector<Page>> read(const QString& path);

    // Extensions (without dot) the reader accepts, for the open dialog.
    static QStringList readableExtensions();
    // A file dialog filter such as "Documents (*.tif *.tiff ...)".
    static QString openDialogFilter(const QString& label);
};
