#include "editor/core/QtImageDocumentReader.h"

QtImageDocumentReader::QtImageDocumentReader(Images images) : m_images(images) {}

Result<std::vector<Page>> QtImageDocumentReader::read(const QString& path) const
{
    return Status::failure(path);
}
