#include "editor/core/Group4Layout.h"

bool SetGroup4Layout(TIFF* tiff, uint32_t width, uint32_t height, uint32_t rowsPerStrip)
{
    return TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, width) == 1 &&
           TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, height) == 1 &&
           TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 1) == 1 &&
           TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 1) == 1 &&
           TIFFSetField(tiff, TIFFTAG_COMPRESSION, COMPRESSION_CCITTFAX4) == 1 &&
           TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE) == 1 &&
           TIFFSetField(tiff, TIFFTAG_FILLORDER, FILLORDER_MSB2LSB) == 1 &&
           TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, rowsPerStrip) == 1;
}

bool WriteRawStrips(TIFF* tiff, const std::vector<QByteArray>& strips)
{
    for (size_t s = 0; s < strips.size(); ++s) {
        QByteArray data = strips[s]; // libtiff takes a writable buffer
        if (TIFFWriteRawStrip(tiff, static_cast<uint32_t>(s), data.data(),
                              static_cast<tmsize_t>(data.size())) < 0)
            return false;
    }
    return true;
}
