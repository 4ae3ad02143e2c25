#include "editor/core/DocumentReaders.h"

#include "editor/core/QtImageDocumentReader.h"
#include "editor/core/TiffDocumentReader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>

namespace {

struct ExtensionKind
{
    const char* extension;
    DocumentReaders::Kind kind;
};

// Extensions with a reader of their own; every other name is one picture.
constexpr ExtensionKind kExtensionTable[] = {
    {"tif", DocumentReaders::Kind::Tiff},    {"tiff", DocumentReaders::Kind::Tiff},
    {"fax", DocumentReaders::Kind::Tiff},    {"g3f", DocumentReaders::Kind::Tiff},
    {"g3n", DocumentReaders::Kind::Tiff},    {"xif", DocumentReaders::Kind::Tiff},
    {"gif", DocumentReaders::Kind::Gif},     {"dcx", DocumentReaders::Kind::Dcx},
    {"ico", DocumentReaders::Kind::Icon},    {"avi", DocumentReaders::Kind::Video},
    {"dicom", DocumentReaders::Kind::Dicom}, {"dcm", DocumentReaders::Kind::Dicom},
    {"dic", DocumentReaders::Kind::Dicom},   {"v2", DocumentReaders::Kind::Dicom},
};

QString tr(const char* text)
{
    return QCoreApplication::translate("DocumentReaders", text);
}

QString unsupportedKindName(DocumentReaders::Kind kind)
{
    switch (kind) {
    case DocumentReaders::Kind::Dcx:
        return tr("DCX documents");
    case DocumentReaders::Kind::Video:
        return tr("video files");
    case DocumentReaders::Kind::Dicom:
        return tr("DICOM images");
    default:
        return tr("files of this kind");
    }
}

} // namespace

DocumentReaders::Kind DocumentReaders::kindOf(const QString& path)
{
    const QString extension = QFileInfo(path).suffix().toLower();
    for (const ExtensionKind& entry : kExtensionTable) {
        if (extension == QLatin1String(entry.extension))
            return entry.kind;
    }
    return Kind::SinglePicture;
}

std::unique_ptr<DocumentReader> DocumentReaders::readerFor(const QString& path)
{
    switch (kindOf(path)) {
    case Kind::Tiff:
        return std::make_unique<TiffDocumentReader>();
    case Kind::Gif:
    case Kind::Icon:
        return std::make_unique<QtImageDocumentReader>(QtImageDocumentReader::Images::All);
    case Kind::SinglePicture:
        return std::make_unique<QtImageDocumentReader>(QtImageDocumentReader::Images::First);
    case Kind::Dcx:
    case Kind::Video:
    case Kind::Dicom:
        break;
    }
    return nullptr;
}

Result<std::vector<Page>> DocumentReaders::read(const QString& path)
{
    const std::unique_ptr<DocumentReader> reader = readerFor(path);
    if (!reader) {
        return Status::failure(
            tr("Cannot read \"%1\": %2 cannot be opened as fax documents.")
                .arg(QDir::toNativeSeparators(path), unsupportedKindName(kindOf(path))));
    }
    return reader->read(path);
}

QStringList DocumentReaders::readableExtensions()
{
    QStringList extensions;
    for (const ExtensionKind& entry : kExtensionTable) {
        if (readerFor(QStringLiteral("x.") + QLatin1String(entry.extension)))
            extensions.append(QLatin1String(entry.extension));
    }
    for (const QByteArray& format : QImageReader::supportedImageFormats()) {
        const QString extension = QString::fromLatin1(format).toLower();
        if (!extensions.contains(extension) &&
            kindOf(QStringLiteral("x.") + extension) == Kind::SinglePicture)
            extensions.append(extension);
    }
    return extensions;
}

QString DocumentReaders::openDialogFilter(const QString& label)
{
    QStringList patterns;
    for (const QString& extension : readableExtensions())
        patterns.append(QStringLiteral("*.") + extension);
    return label + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
}
