#include "editor/core/DocumentReaders.h"

#include "editor/core/QtImageDocumentReader.h"
#include "editor/core/TiffDocumentReader.h"

DocumentReaders::Kind DocumentReaders::kindOf(const QString&)
{
    return Kind::SinglePicture;
}

std::unique_ptr<DocumentReader> DocumentReaders::readerFor(const QString&)
{
    return std::make_unique<TiffDocumentReader>();
}

Result<std::vector<Page>> DocumentReaders::read(const QString& path)
{
    return readerFor(path)->read(path);
}

QStringList DocumentReaders::readableExtensions()
{
    return {QStringLiteral("tif")};
}

QString DocumentReaders::openDialogFilter(const QString& label)
{
    return label + QStringLiteral(" (*.tif)");
}
