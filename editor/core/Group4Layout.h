#pragma once

#include <QByteArray>

#include <tiffio.h>

#include <cstdint>
#include <vector>

// What every Group 4 page we write carries, in a file or in memory: one bit
// per pixel, white as zero (fax readers expect min-is-white), the most
// significant bit first, and the given rows per strip.
bool SetGroup4Layout(TIFF* tiff, uint32_t width, uint32_t height, uint32_t rowsPerStrip);

// Writes Group 4 data as it is, one strip after the other.
bool WriteRawStrips(TIFF* tiff, const std::vector<QByteArray>& strips);
