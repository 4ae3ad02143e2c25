#include "editor/core/BilevelPacker.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr int kMaxByte = 255;
constexpr int kBitsPerByte = 8;
constexpr int kLevels = 256;
// Luminance weights (ITU-R BT.601) scaled to 256.
constexpr int kRedWeight = 77;
constexpr int kGreenWeight = 150;
constexpr int kBlueWeight = 29;
constexpr int kWeightShift = 8;

int luminance(QRgb pixel)
{
    return (qRed(pixel) * kRedWeight + qGreen(pixel) * kGreenWeight + qBlue(pixel) * kBlueWeight) >>
           kWeightShift;
}

// A pixel with alpha as it looks on white paper.
inline QRgb onWhite(QRgb pixel)
{
    const int alpha = qAlpha(pixel);
    if (alpha == kMaxByte)
        return pixel;
    const int paper = kMaxByte - alpha;
    return qRgb((qRed(pixel) * alpha + kMaxByte * paper) / kMaxByte,
                (qGreen(pixel) * alpha + kMaxByte * paper) / kMaxByte,
                (qBlue(pixel) * alpha + kMaxByte * paper) / kMaxByte);
}

inline bool isDark(QRgb pixel, int threshold)
{
    return luminance(pixel) < threshold;
}

std::array<uchar, kLevels> makeBitReversal()
{
    std::array<uchar, kLevels> table{};
    for (int value = 0; value < kLevels; ++value) {
        int reversed = 0;
        for (int bit = 0; bit < kBitsPerByte; ++bit) {
            if (value & (1 << bit))
                reversed |= 0x80 >> bit;
        }
        table[static_cast<size_t>(value)] = static_cast<uchar>(reversed);
    }
    return table;
}

const std::array<uchar, kLevels>& bitReversal()
{
    static const std::array<uchar, kLevels> table = makeBitReversal();
    return table;
}

// The distinct colours an image uses, stopping once there are more than two.
// Pages of text hold long runs of one colour, so comparing with the two
// colours seen so far is all the work most pixels need.
std::vector<QRgb> firstColours(const QImage& image, bool composite)
{
    std::vector<QRgb> colours;
    QRgb first = 0;
    QRgb second = 0;
    const int width = image.width();
    const int height = image.height();
    for (int y = 0; y < height; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            const QRgb pixel = composite ? onWhite(line[x]) : (line[x] | 0xff000000u);
            const size_t known = colours.size();
            if ((known > 0 && pixel == first) || (known > 1 && pixel == second))
                continue;
            colours.push_back(pixel);
            if (colours.size() > 2)
                return colours;
            (colours.size() == 1 ? first : second) = pixel;
        }
    }
    return colours;
}

QRgb darkerOf(QRgb a, QRgb b)
{
    return luminance(a) <= luminance(b) ? a : b;
}

template <typename IsBlack>
void packPixels(const QRgb* line, int width, uchar* out, IsBlack isBlack)
{
    int x = 0;
    for (; x + kBitsPerByte <= width; x += kBitsPerByte) {
        unsigned byte = 0;
        for (int k = 0; k < kBitsPerByte; ++k)
            byte = (byte << 1) | (isBlack(line[x + k]) ? 1u : 0u);
        *out++ = static_cast<uchar>(byte);
    }
    if (x < width) {
        unsigned byte = 0;
        int k = 0;
        for (; x < width; ++x, ++k)
            byte = (byte << 1) | (isBlack(line[x]) ? 1u : 0u);
        *out = static_cast<uchar>(byte << (kBitsPerByte - k));
    }
}

} // namespace

BilevelPacker::BilevelPacker(const QImage& image, TwoColours rule, int threshold)
    : m_image(image), m_threshold(threshold)
{
    switch (m_image.format()) {
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
        prepareMono();
        break;
    case QImage::Format_Indexed8:
    case QImage::Format_Grayscale8:
        prepareLookup(rule);
        break;
    default:
        prepareRgb(rule);
        break;
    }
}

void BilevelPacker::prepareMono()
{
    m_mode = m_image.format() == QImage::Format_Mono ? Mode::Mono : Mode::MonoLsb;
    const QVector<QRgb> table = m_image.colorTable();
    if (table.size() < 2)
        return; // without a table, Qt and fax alike read 1 as black
    const QRgb zero = onWhite(table[0]);
    const QRgb one = onWhite(table[1]);
    if (zero == one) {
        // Both indexes show the same colour: the page is that colour all over.
        m_allBlack = isDark(zero, m_threshold);
        m_mode = Mode::Lookup8;
        m_black.fill(m_allBlack ? 1 : 0);
        return;
    }
    m_invert = luminance(zero) < luminance(one);
}

void BilevelPacker::prepareLookup(TwoColours rule)
{
    m_mode = Mode::Lookup8;
    const bool grey = m_image.format() == QImage::Format_Grayscale8;
    QVector<QRgb> table = m_image.colorTable();
    const auto colourOf = [&](int index) {
        if (grey)
            return qRgb(index, index, index);
        return index < table.size() ? onWhite(table[index]) : qRgb(0, 0, 0);
    };
    for (int index = 0; index < kLevels; ++index)
        m_black[static_cast<size_t>(index)] = isDark(colourOf(index), m_threshold) ? 1 : 0;
    if (rule != TwoColours::MapDarkerToBlack)
        return;

    std::array<bool, kLevels> used{};
    const int w = m_image.width();
    const int h = m_image.height();
    for (int y = 0; y < h; ++y) {
        const uchar* line = m_image.constScanLine(y);
        for (int x = 0; x < w; ++x)
            used[line[x]] = true;
    }
    std::vector<QRgb> colours;
    for (int index = 0; index < kLevels; ++index) {
        if (!used[static_cast<size_t>(index)])
            continue;
        const QRgb colour = colourOf(index);
        if (std::find(colours.begin(), colours.end(), colour) == colours.end())
            colours.push_back(colour);
    }
    if (colours.size() != 2)
        return;
    const QRgb darker = darkerOf(colours[0], colours[1]);
    for (int index = 0; index < kLevels; ++index)
        m_black[static_cast<size_t>(index)] = colourOf(index) == darker ? 1 : 0;
}

void BilevelPacker::prepareRgb(TwoColours rule)
{
    if (m_image.format() != QImage::Format_RGB32 && m_image.format() != QImage::Format_ARGB32)
        m_image = m_image.convertToFormat(m_image.hasAlphaChannel() ? QImage::Format_ARGB32
                                                                    : QImage::Format_RGB32);
    m_mode = Mode::Rgb;
    if (rule != TwoColours::MapDarkerToBlack)
        return;
    const std::vector<QRgb> colours =
        firstColours(m_image, m_image.format() == QImage::Format_ARGB32);
    if (colours.size() == 2) {
        m_mode = Mode::RgbTwoColours;
        m_darker = darkerOf(colours[0], colours[1]);
    }
}

void BilevelPacker::clearPadding(uchar* out) const
{
    const int usedBits = width() % kBitsPerByte;
    if (usedBits != 0)
        out[packedBytesPerRow() - 1] &= static_cast<uchar>(0xff << (kBitsPerByte - usedBits));
}

void BilevelPacker::packRow(int y, uchar* out) const
{
    const int bytes = packedBytesPerRow();
    const uchar* line = m_image.constScanLine(y);
    const bool composite = m_image.format() == QImage::Format_ARGB32;
    switch (m_mode) {
    case Mode::Mono:
        std::memcpy(out, line, static_cast<size_t>(bytes));
        if (m_invert) {
            for (int i = 0; i < bytes; ++i)
                out[i] = static_cast<uchar>(~out[i]);
        }
        clearPadding(out);
        return;
    case Mode::MonoLsb: {
        const auto& reverse = bitReversal();
        for (int i = 0; i < bytes; ++i) {
            const uchar value = reverse[line[i]];
            out[i] = m_invert ? static_cast<uchar>(~value) : value;
        }
        clearPadding(out);
        return;
    }
    case Mode::Lookup8: {
        if (m_image.depth() == 1) {
            std::memset(out, m_allBlack ? 0xff : 0, static_cast<size_t>(bytes));
            clearPadding(out);
            return;
        }
        const int w = width();
        int x = 0;
        for (; x + kBitsPerByte <= w; x += kBitsPerByte) {
            const uchar* p = line + x;
            *out++ = static_cast<uchar>(
                m_black[p[0]] << 7 | m_black[p[1]] << 6 | m_black[p[2]] << 5 | m_black[p[3]] << 4 |
                m_black[p[4]] << 3 | m_black[p[5]] << 2 | m_black[p[6]] << 1 | m_black[p[7]]);
        }
        if (x < w) {
            unsigned byte = 0;
            int k = 0;
            for (; x < w; ++x, ++k)
                byte = (byte << 1) | m_black[line[x]];
            *out = static_cast<uchar>(byte << (kBitsPerByte - k));
        }
        return;
    }
    case Mode::Rgb: {
        const auto* pixels = reinterpret_cast<const QRgb*>(line);
        if (composite)
            packPixels(pixels, width(), out,
                       [t = m_threshold](QRgb p) { return isDark(onWhite(p), t); });
        else
            packPixels(pixels, width(), out, [t = m_threshold](QRgb p) { return isDark(p, t); });
        return;
    }
    case Mode::RgbTwoColours: {
        const auto* pixels = reinterpret_cast<const QRgb*>(line);
        const QRgb darker = m_darker;
        if (composite)
            packPixels(pixels, width(), out, [darker](QRgb p) { return onWhite(p) == darker; });
        else
            packPixels(pixels, width(), out,
                       [darker](QRgb p) { return (p | 0xff000000u) == darker; });
        return;
    }
    }
}

QImage BilevelPacker::toMonoImage(const QImage& image, TwoColours rule, int threshold)
{
    const BilevelPacker packer(image, rule, threshold);
    QImage result(image.size(), QImage::Format_Mono);
    if (result.isNull())
        return result;
    result.setColorTable({qRgb(kMaxByte, kMaxByte, kMaxByte), qRgb(0, 0, 0)});
    result.setDotsPerMeterX(image.dotsPerMeterX());
    result.setDotsPerMeterY(image.dotsPerMeterY());
    for (int y = 0; y < packer.height(); ++y)
        packer.packRow(y, result.scanLine(y));
    return result;
}
