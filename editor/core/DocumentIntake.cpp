#include "editor/core/DocumentIntake.h"

#include "app/core/TempFolder.h"
#include "editor/core/DocumentReaders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QString kSpoolFolderName = QStringLiteral("quillon2-spool");
const QString kWorkingPrefix = QStringLiteral("file_");
const QString kNewDocumentPrefix = QStringLiteral("_new_");
const QString kFaxImageExtension = QStringLiteral(".tif");
// Enough for every document one printer could deliver in one millisecond.
constexpr int kMaxNameCounter = 10000;

QString canonicalFolder(const QString& folder)
{
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(QFileInfo(folder).absoluteFilePath()) : canonical;
}

// The extension with its dot, "" for a name without one ("a.b.tif" gives ".tif").
QString lastExtension(const QString& filePath)
{
    const QString suffix = QFileInfo(filePath).suffix();
    return suffix.isEmpty() ? QString() : QLatin1Char('.') + suffix;
}

} // namespace

QString DocumentIntake::SpoolFolder()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    const QString base = runtime.isEmpty() ? TempFolder::path() : runtime;
    return QDir(base).filePath(kSpoolFolderName);
}

bool DocumentIntake::IsTakeOverFolder(const QString& filePath)
{
    const QString folder = canonicalFolder(QFileInfo(filePath).absolutePath());
    return folder == canonicalFolder(TempFolder::path()) ||
           folder == canonicalFolder(SpoolFolder());
}

QString DocumentIntake::TimeStamp(const QDateTime& time)
{
    return time.toString(QStringLiteral("yyyyMMddhhmmsszzz"));
}

QString DocumentIntake::FaxNumberComment(const QString& filePath)
{
    return QLatin1Char('(') + QFileInfo(filePath).completeBaseName() + QLatin1Char(')');
}

QString DocumentIntake::UniqueWorkingName(const QString& folder, const QString& extension,
                                          const QDateTime& time)
{
    const QDir dir(folder);
    const QString stem = kWorkingPrefix + TimeStamp(time);
    QString candidate = dir.filePath(stem + extension);
    for (int counter = 1; QFileInfo::exists(candidate) && counter <= kMaxNameCounter; ++counter)
        candidate = dir.filePath(stem + QLatin1Char('_') + QString::number(counter) + extension);
    return candidate;
}

IntakeDocument DocumentIntake::TakeOver(const QString& incomingPath, const QDateTime& time)
{
    IntakeDocument document;
    document.faxNumberText = FaxNumberComment(incomingPath);
    const QString extension = lastExtension(incomingPath);
    const QString absolute = QFileInfo(incomingPath).absoluteFilePath();

    if (IsTakeOverFolder(absolute)) {
        document.documentFile =
            UniqueWorkingName(QFileInfo(absolute).absolutePath(), extension, time);
        if (QFile::rename(absolute, document.documentFile)) {
            document.readFrom = document.documentFile;
            document.deleteAfterRead = true;
            return document;
        }
        // The move failed: still read the document, from where it is, and
        // leave the file alone.
        document.readFrom = absolute;
        return document;
    }

    document.documentFile = UniqueWorkingName(TempFolder::path(), extension, time);
    document.readFrom = absolute;
    return document;
}

IntakeDocument DocumentIntake::NewDocument(const QDateTime& time)
{
    IntakeDocument document;
    document.isNew = true;
    document.documentFile =
        QDir(TempFolder::path())
            .filePath(kNewDocumentPrefix + TimeStamp(time) + kFaxImageExtension);
    return document;
}

Page DocumentIntake::BlankPage()
{
    return Page::blank(QSize(kBlankPageWidth, kBlankPageHeight));
}

Result<std::vector<Page>> DocumentIntake::ReadDocument(const IntakeDocument& document)
{
    if (document.isNew || document.readFrom.isEmpty()) {
        std::vector<Page> pages;
        pages.push_back(BlankPage());
        return pages;
    }
    Result<std::vector<Page>> pages = DocumentReaders::read(document.readFrom);
    if (pages.ok() && document.deleteAfterRead)
        QFile::remove(document.readFrom);
    return pages;
}
