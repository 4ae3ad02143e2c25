#pragma once

#include <QImage>

#include <array>

// Reduces a page image of any format to packed 1-bit rows, as TIFF and the
// fax want them: most significant bit first, 1 = black. Rows are made one at
// a time straight from the image's scan lines, with no per-pixel look-ups
// through QImage, so that a whole document converts in a blink.
//
// 1-bit images are copied (inverted when their colour table says index 0 is
// the darker one). Otherwise a pixel is black when its luminance lies below
// the middle grey: a plain threshold keeps printed text and lines crisp,
// where a dither would fray their edges and make Group 4 compress worse.
// With TwoColours::MapDarkerToBlack an image of exactly two colours is mapped
// pixel for pixel instead, the darker colour black, so that a page of light
// grey lines on white keeps its lines. Transparent parts count as white.
class BilevelPacker
{
public:
    enum class TwoColours { MapDarkerToBlack, Threshold };
    // Grey levels (0 to 255) below this are black.
    static constexpr int kMiddleGrey = 128;

    BilevelPacker(const QImage& image, TwoColours rule, int threshold = kMiddleGrey);

    int width() const { return m_image.width(); }
    int height() const { return m_image.height(); }
    int packedBytesPerRow() const { return (m_image.width() + 7) / 8; }

    // Writes packedBytesPerRow() bytes; bits past the width are 0 (white).
    void packRow(int y, uchar* out) const;

    // The whole image as a Format_Mono image with index 0 white, 1 black.
    static QImage toMonoImage(const QImage& image, TwoColours rule, int threshold = kMiddleGrey);

private:
    enum class Mode { Mono, MonoLsb, Lookup8, Rgb, RgbTwoColours };

    void prepareMono();
    void prepareLookup(TwoColours rule);
    void prepareRgb(TwoColours rule);
    void clearPadding(uchar* out) const;

    QImage m_image;
    int m_threshold = kMiddleGrey;
    Mode m_mode = Mode::Rgb;
    bool m_invert = false;
    bool m_allBlack = false;
    std::array<uchar, 256> m_black{};
    QRgb m_darker = 0;
};
