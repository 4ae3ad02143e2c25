#include "editor/core/EncodedStrips.h"

#include "editor/core/Group4Layout.h"
#include "editor/core/MemoryTiff.h"
#include "editor/core/TiffHandle.h"
#include "editor/core/TiffMessageCapture.h"

#include <QCoreApplication>

namespace {

constexpr int kMaxByte = 255;

QString tr(const char* text)
{
    return QCoreApplication::translate("EncodedStrips", text);
}

bool writeStrips(TIFF* tiff, const EncodedStrips& page)
{
    return SetGroup4Layout(tiff, static_cast<uint32_t>(page.width()),
                           static_cast<uint32_t>(page.height()),
                           static_cast<uint32_t>(page.rowsPerStrip())) &&
           WriteRawStrips(tiff, page.strips()) && TIFFWriteDirectory(tiff) == 1;
}

QImage readRows(TIFF* tiff, int width, int height)
{
    QImage image(width, height, QImage::Format_Mono);
    if (image.isNull())
        return image;
    image.setColorTable({qRgb(kMaxByte, kMaxByte, kMaxByte), qRgb(0, 0, 0)});
    for (int row = 0; row < height; ++row) {
        if (TIFFReadScanline(tiff, image.scanLine(row), static_cast<uint32_t>(row)) < 0)
            return {};
    }
    return image;
}

} // namespace

EncodedStrips::EncodedStrips(int width, int height, int rowsPerStrip,
                             std::vector<QByteArray> strips)
    : m_width(width), m_height(height), m_rowsPerStrip(rowsPerStrip), m_strips(std::move(strips))
{
}

qint64 EncodedStrips::byteCount() const
{
    qint64 bytes = 0;
    for (const QByteArray& strip : m_strips)
        bytes += strip.size();
    return bytes;
}

Result<QImage> EncodedStrips::decode(bool* warned) const
{
    TiffMessageCapture capture;
    MemoryTiff file;
    {
        const TiffHandle writer(file.open("w", capture));
        if (!writer || !writeStrips(writer.get(), *this))
            return Status::failure(capture.hasErrors() ? capture.errorText()
                                                       : tr("the page data cannot be kept."));
    }
    const TiffHandle reader(file.open("r", capture));
    const QImage image = reader ? readRows(reader.get(), m_width, m_height) : QImage();
    if (capture.hasErrors())
        return Status::failure(capture.errorText());
    if (warned != nullptr)
        *warned = !capture.warnings().isEmpty();
    if (image.isNull())
        return Status::failure(
            tr("there may not be enough memory for %1 by %2 pixels.").arg(m_width).arg(m_height));
    return image;
}
