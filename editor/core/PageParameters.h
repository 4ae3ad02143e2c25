#pragma once

#include <QByteArray>

// The image parameters a page brings from its file and keeps beside its
// pixels: resolution, how it was stored, and any annotations the reader kept.
// A page whose horizontal and vertical resolutions differ (fax fine mode,
// 204 by 196 or 204 by 98) keeps them unequal; nothing squares them up.
struct PageParameters
{
    // TIFF codes, so that a page read from a TIFF file keeps what it said.
    static constexpr int kCompressionNone = 1;
    static constexpr int kCompressionCcittG4 = 4;
    static constexpr int kPhotometricMinIsWhite = 0;
    static constexpr int kPhotometricMinIsBlack = 1;
    static constexpr int kPhotometricRgb = 2;
    static constexpr int kPhotometricPalette = 3;
    // A page that brings no resolution of its own (a new blank page, a picture
    // without one) is taken as a fax page at standard-plus resolution.
    static constexpr int kDefaultDpi = 200;

    int dpiX = kDefaultDpi;
    int dpiY = kDefaultDpi;
    int compression = kCompressionNone;
    int bitsPerSample = 1;
    int samplesPerPixel = 1;
    // Tells a grey page from a palette page when both have 8 bits and one sample.
    int photometric = kPhotometricMinIsWhite;
    // Annotation objects stored with the page in its file, kept as they came.
    QByteArray annotations;

    bool isBilevel() const { return bitsPerSample == 1 && samplesPerPixel == 1; }

    friend bool operator==(const PageParameters& a, const PageParameters& b)
    {
        return a.dpiX == b.dpiX && a.dpiY == b.dpiY && a.compression == b.compression &&
               a.bitsPerSample == b.bitsPerSample && a.samplesPerPixel == b.samplesPerPixel &&
               a.photometric == b.photometric && a.annotations == b.annotations;
    }
    friend bool operator!=(const PageParameters& a, const PageParameters& b) { return !(a == b); }
};
