#include "editor/core/G4PageEncoder.h"

#include "editor/core/BilevelPacker.h"
#include "editor/core/TiffHandle.h"
#include "editor/core/TiffMessageCapture.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstring>
#include <tiffio.h>
#include <vector>

namespace {

// A TIFF file in memory: libtiff writes the encoded page here and reads its
// strip back, with no trip to the disk.
struct MemoryFile
{
    std::vector<uchar> bytes;
    toff_t position = 0;
};

MemoryFile& fileOf(thandle_t handle)
{
    return *static_cast<MemoryFile*>(handle);
}

tmsize_t readMemory(thandle_t handle, void* buffer, tmsize_t size)
{
    MemoryFile& file = fileOf(handle);
    if (size <= 0 || file.position >= file.bytes.size())
        return 0;
    const size_t count =
        std::min(static_cast<size_t>(size), file.bytes.size() - static_cast<size_t>(file.position));
    std::memcpy(buffer, file.bytes.data() + file.position, count);
    file.position += count;
    return static_cast<tmsize_t>(count);
}

tmsize_t writeMemory(thandle_t handle, void* buffer, tmsize_t size)
{
    MemoryFile& file = fileOf(handle);
    if (size <= 0)
        return 0;
    const size_t end = static_cast<size_t>(file.position) + static_cast<size_t>(size);
    if (end > file.bytes.size())
        file.bytes.resize(end);
    std::memcpy(file.bytes.data() + file.position, buffer, static_cast<size_t>(size));
    file.position = end;
    return size;
}

toff_t seekMemory(thandle_t handle, toff_t offset, int whence)
{
    MemoryFile& file = fileOf(handle);
    switch (whence) {
    case SEEK_SET:
        file.position = offset;
        break;
    case SEEK_CUR:
        file.position += offset;
        break;
    case SEEK_END:
        file.position = file.bytes.size() + offset;
        break;
    default:
        return static_cast<toff_t>(-1);
    }
    return file.position;
}

int closeMemory(thandle_t)
{
    return 0;
}

toff_t sizeOfMemory(thandle_t handle)
{
    return fileOf(handle).bytes.size();
}

int mapMemory(thandle_t, void**, toff_t*)
{
    return 0;
}

void unmapMemory(thandle_t, void*, toff_t) {}

TIFF* openMemory(MemoryFile& file, const char* mode, const TiffMessageCapture& capture)
{
    file.position = 0;
    return TIFFClientOpenExt("page", mode, &file, readMemory, writeMemory, seekMemory, closeMemory,
                             sizeOfMemory, mapMemory, unmapMemory, capture.options());
}

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
    const bool tagged =
        TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, static_cast<uint32_t>(image.width())) == 1 &&
        TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, height) == 1 &&
        TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 1) == 1 &&
        TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 1) == 1 &&
        TIFFSetField(tiff, TIFFTAG_COMPRESSION, COMPRESSION_CCITTFAX4) == 1 &&
        TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE) == 1 &&
        TIFFSetField(tiff, TIFFTAG_FILLORDER, FILLORDER_MSB2LSB) == 1 &&
        TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, height) == 1;
    return tagged &&
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
    MemoryFile file;
    {
        const TiffHandle writer(openMemory(file, "w", capture));
        if (!writer || !writePage(writer.get(), image))
            return Status::failure(
                tr("the page could not be encoded (%1).").arg(capture.errorText()));
    }
    const TiffHandle reader(openMemory(file, "r", capture));
    const QByteArray strip = reader ? readStrip(reader.get()) : QByteArray();
    if (strip.isEmpty() || capture.hasErrors())
        return Status::failure(tr("the page could not be encoded (%1).").arg(capture.errorText()));
    return strip;
}
