#pragma once

#include "editor/core/DocumentReader.h"

// Multi-page TIFF on libtiff: every directory of the file becomes one page, in
// the pixel format it is stored in (1-bit pages stay 1-bit), with its own
// resolution (centimetre units turned into dots per inch) and compression.
class TiffDocumentReader : public DocumentReader
{
public:
    Result<std::vector<Page>> read(const QString& path) const override;
};
