#include "editor/core/TiffDocumentReader.h"

Result<std::vector<Page>> TiffDocumentReader::read(const QString& path) const
{
    return Status::failure(path);
}
