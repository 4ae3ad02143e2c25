#pragma once

#include "editor/core/TiffMessageCapture.h"

#include <QtGlobal>

#include <tiffio.h>

#include <vector>

// A TIFF file in memory: libtiff writes a page here and reads it back with no
// trip to the disk. Each handle opened on it must be closed before the next
// one is opened; the object must outlive its handles.
class MemoryTiff
{
public:
    // A handle on the bytes, opened with the mode libtiff takes ("w", "r"),
    // reporting to capture; nullptr when libtiff refuses. Opening starts at
    // the first byte.
    TIFF* open(const char* mode, const TiffMessageCapture& capture);

    tmsize_t read(void* buffer, tmsize_t size);
    tmsize_t write(const void* buffer, tmsize_t size);
    toff_t seek(toff_t offset, int whence);
    toff_t size() const { return m_bytes.size(); }

private:
    std::vector<uchar> m_bytes;
    toff_t m_position = 0;
};
