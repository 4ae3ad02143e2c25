#pragma once

#include "editor/core/DocumentReader.h"

// Multi-page TIFF on libtiff: every directory of the file becomes one page, in
// the pixel format it is stored in (1-bit pages stay 1-bit), with its own
// resolution (centimetre units turned into dots per inch) and compression.
// A page stored as the fax image stores its pages (Group 4, 0 = white, usual
// bit order, in strips) keeps its strips, so that it can go into a fax image
// unchanged; its pixels come from those strips.
class TiffDocumentReader : public DocumentReader
{
public:
    struct ReadOptions
    {
        // Decode the kept strips before handing the pages on (all cores at
        // once), so that a damaged page is refused when the file is read.
        // Without it pages decode on first use and a damaged one shows up
        // as a failure of Page::decode() (the fax image writer checks it)
        // and as a null image.
        bool decodePixels = true;
    };

    TiffDocumentReader();
    explicit TiffDocumentReader(ReadOptions options);
    Result<std::vector<Page>> read(const QString& path) const override;

private:
    ReadOptions m_options;
};
