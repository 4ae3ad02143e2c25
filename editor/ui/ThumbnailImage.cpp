#include "editor/ui/ThumbnailImage.h"

#include <vector>

namespace {
QSize FittedSize(const QSize& source, const QSize& box)
{
    if (source.width() <= box.width() && source.height() <= box.height())
        return source;
    QSize fitted = source.scaled(box, Qt::KeepAspectRatio);
    return fitted.expandedTo(QSize(1, 1));
}

int GreyOfIndex(const QImage& image, int index)
{
    const QVector<QRgb> colours = image.colorTable();
    if (index < colours.size())
        return qGray(colours.at(index));
    // A bilevel image without a palette: index 0 black, 1 white, as Qt draws it.
    return index == 0 ? 0 : 255;
}

// Averages each block of source pixels that falls on one target pixel.
QImage AverageBilevel(const QImage& source, const QSize& target)
{
    const int sw = source.width();
    const int sh = source.height();
    const int tw = target.width();
    const int th = target.height();
    const bool lsbFirst = source.format() == QImage::Format_MonoLSB;

    std::vector<int> columnOf(static_cast<size_t>(sw));
    std::vector<int> columnWidth(static_cast<size_t>(tw), 0);
    for (int x = 0; x < sw; ++x) {
        columnOf[static_cast<size_t>(x)] = static_cast<int>(qint64(x) * tw / sw);
        ++columnWidth[static_cast<size_t>(columnOf[static_cast<size_t>(x)])];
    }

    std::vector<int> ones(static_cast<size_t>(tw) * static_cast<size_t>(th), 0);
    std::vector<int> rowHeight(static_cast<size_t>(th), 0);
    for (int y = 0; y < sh; ++y) {
        const int ty = static_cast<int>(qint64(y) * th / sh);
        ++rowHeight[static_cast<size_t>(ty)];
        int* counts = ones.data() + static_cast<size_t>(ty) * static_cast<size_t>(tw);
        const uchar* line = source.constScanLine(y);
        for (int byteIndex = 0; byteIndex * 8 < sw; ++byteIndex) {
            const uchar bits = line[byteIndex];
            if (bits == 0)
                continue; // eight pixels of index 0: nothing to count
            const int end = qMin(sw, byteIndex * 8 + 8);
            for (int x = byteIndex * 8; x < end; ++x) {
                const int shift = lsbFirst ? (x & 7) : 7 - (x & 7);
                counts[columnOf[static_cast<size_t>(x)]] += (bits >> shift) & 1;
            }
        }
    }

    const int grey0 = GreyOfIndex(source, 0);
    const int grey1 = GreyOfIndex(source, 1);
    QImage result(target, QImage::Format_Grayscale8);
    for (int ty = 0; ty < th; ++ty) {
        uchar* out = result.scanLine(ty);
        for (int tx = 0; tx < tw; ++tx) {
            const int cell =
                columnWidth[static_cast<size_t>(tx)] * rowHeight[static_cast<size_t>(ty)];
            const int set =
                ones[static_cast<size_t>(ty) * static_cast<size_t>(tw) + static_cast<size_t>(tx)];
            out[tx] = cell > 0 ? static_cast<uchar>((set * grey1 + (cell - set) * grey0) / cell)
                               : static_cast<uchar>(grey0);
        }
    }
    return result;
}
} // namespace

QImage MakeThumbnail(const QImage& source, const QSize& box)
{
    if (source.isNull() || box.isEmpty())
        return {};
    const QSize target = FittedSize(source.size(), box);
    if (source.format() == QImage::Format_Mono || source.format() == QImage::Format_MonoLSB)
        return AverageBilevel(source, target);
    if (target == source.size())
        return source;
    return source.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}
