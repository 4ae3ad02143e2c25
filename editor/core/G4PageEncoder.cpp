#include "editor/core/G4PageEncoder.h"

#include "editor/core/BilevelPacker.h"
#include "editor/core/Group4Layout.h"
#include "editor/core/MemoryTiff.h"
#include "editor/core/TiffHandle.h"
#include "editor/core/TiffMessageCapture.h"

#include <QCoreApplication>

#include <tiffio.h>
#include <vector>

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("G4PageEncoder", text);
}

bool writePage(TIFF* tiff, const QImage& image)
{
    const BilevelPacker packer(image, BilevelPacker::TwoColours::MapDarkerToBlack);
    const size_t rowBytes = static_cast<size_t>(packer.packedBytesPerRow());
    std::vector<uchar> strip(rowBytes * static_cast<size_t>(packer.height()));
    for (int y = 0; y < packer.height(); ++y)
        packer.packRow(y, strip.data() + rowBytes * static_cast<size_t>(y));

    const auto height = static_cast<uint32_t>(image.height());
    return SetGroup4Layout(tiff, static_cast<uint32_t>(image.width()), height, height) &&
           TIFFWriteEncodedStrip(tiff, 0, strip.data(), static_cast<tmsize_t>(strip.size())) >= 0 &&
           TIFFWriteDirectory(tiff) == 1;
}

QByteArray readStrip(TIFF* tiff)
{
    const tmsize_t size = TIFFRawStripSize(tiff, 0);
    if (size <= 0)
        return {};
    QByteArray data(static_cast<qsizetype>(size), Qt::Uninitialized);
    if (TIFFReadRawStrip(tiff, 0, data.data(), size) != size)
        return {};
    return data;
}

} // namespace

Result<QByteArray> G4PageEncoder::encode(const QImage& image)
{
    if (image.isNull())
        return Status::failure(tr("the page is empty."));
    TiffMessageCapture capture;
    MemoryTiff file;
    {
        const TiffHandle writer(file.open("w", capture));
        if (!writer || !writePage(writer.get(), image))
            return Status::failure(
                tr("the page could not be encoded (%1).").arg(capture.errorText()));
    }
    const TiffHandle reader(file.open("r", capture));
    const QByteArray strip = reader ? readStrip(reader.get()) : QByteArray();
    if (strip.isEmpty() || capture.hasErrors())
        return Status::failure(tr("the page could not be encoded (%1).").arg(capture.errorText()));
    return strip;
}
