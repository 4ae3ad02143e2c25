#include "editor/core/MemoryTiff.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

MemoryTiff& fileOf(thandle_t handle)
{
    return *static_cast<MemoryTiff*>(handle);
}

tmsize_t readMemory(thandle_t handle, void* buffer, tmsize_t size)
{
    return fileOf(handle).read(buffer, size);
}

tmsize_t writeMemory(thandle_t handle, void* buffer, tmsize_t size)
{
    return fileOf(handle).write(buffer, size);
}

toff_t seekMemory(thandle_t handle, toff_t offset, int whence)
{
    return fileOf(handle).seek(offset, whence);
}

int closeMemory(thandle_t)
{
    return 0;
}

toff_t sizeOfMemory(thandle_t handle)
{
    return fileOf(handle).size();
}

int mapMemory(thandle_t, void**, toff_t*)
{
    return 0;
}

void unmapMemory(thandle_t, void*, toff_t) {}

} // namespace

TIFF* MemoryTiff::open(const char* mode, const TiffMessageCapture& capture)
{
    m_position = 0;
    return TIFFClientOpenExt("page", mode, this, readMemory, writeMemory, seekMemory, closeMemory,
                             sizeOfMemory, mapMemory, unmapMemory, capture.options());
}

tmsize_t MemoryTiff::read(void* buffer, tmsize_t size)
{
    if (size <= 0 || m_position >= m_bytes.size())
        return 0;
    const size_t count =
        std::min(static_cast<size_t>(size), m_bytes.size() - static_cast<size_t>(m_position));
    std::memcpy(buffer, m_bytes.data() + m_position, count);
    m_position += count;
    return static_cast<tmsize_t>(count);
}

tmsize_t MemoryTiff::write(const void* buffer, tmsize_t size)
{
    if (size <= 0)
        return 0;
    const size_t end = static_cast<size_t>(m_position) + static_cast<size_t>(size);
    if (end > m_bytes.size())
        m_bytes.resize(end);
    std::memcpy(m_bytes.data() + m_position, buffer, static_cast<size_t>(size));
    m_position = end;
    return size;
}

toff_t MemoryTiff::seek(toff_t offset, int whence)
{
    switch (whence) {
    case SEEK_SET:
        m_position = offset;
        break;
    case SEEK_CUR:
        m_position += offset;
        break;
    case SEEK_END:
        m_position = m_bytes.size() + offset;
        break;
    default:
        return static_cast<toff_t>(-1);
    }
    return m_position;
}
