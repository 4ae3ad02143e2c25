#pragma once

#include <QImage>
#include <QString>

#include <tiffio.h>

#include <vector>

// Test documents made with libtiff itself, so that the reader is checked
// against files it did not write.
namespace tifffiles {

struct TiffPage
{
    // Format_Mono (index 0 white, 1 black), Format_Grayscale8,
    // Format_Indexed8, Format_RGB32 or Format_ARGB32 (written with alpha).
    QImage image;
    uint16_t compression = COMPRESSION_NONE;
    float xResolution = 200.0f;
    float yResolution = 200.0f;
    uint16_t resolutionUnit = RESUNIT_INCH;
    bool minIsBlack = false;                // bilevel and grey pages
    uint16_t fillOrder = FILLORDER_MSB2LSB; // bilevel pages
    bool jpegYCbCr = false;                 // colour pages with JPEG compression
    int tileSize = 0;          // > 0: written in square tiles of this size (a multiple of 16)
    uint32_t rowsPerStrip = 0; // > 0: strips of this many rows; else libtiff's choice
};

// Writes the pages as one multi-page TIFF; returns false when libtiff fails.
bool writeTiff(const QString& path, const std::vector<TiffPage>& pages);

// A recognisable 1-bit test page: a frame, diagonal strokes and a text-like
// pattern of short bars, index 0 white and 1 black.
QImage bilevelPattern(int width, int height);
// A smooth grey ramp with a dark bar (Format_Grayscale8).
QImage greyPattern(int width, int height);
// Colour bands with black "text" bars (Format_RGB32).
QImage colourPattern(int width, int height);
// Eight colours in a palette (Format_Indexed8).
QImage palettePattern(int width, int height);

// True when both images have the same size and every pixel shows the same
// colour (formats may differ).
bool samePixels(const QImage& a, const QImage& b);
// Mean absolute difference of the grey levels, for lossy pages.
double meanGreyDifference(const QImage& a, const QImage& b);

} // namespace tifffiles
