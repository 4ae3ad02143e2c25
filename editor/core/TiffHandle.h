#pragma once

#include <tiffio.h>

#include <memory>

// An open libtiff file that closes itself.
struct TiffCloser
{
    void operator()(TIFF* tiff) const { TIFFClose(tiff); }
};
using TiffHandle = std::unique_ptr<TIFF, TiffCloser>;
