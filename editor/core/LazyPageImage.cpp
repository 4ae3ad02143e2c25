#include "editor/core/LazyPageImage.h"

LazyPageImage::LazyPageImage(std::shared_ptr<const EncodedStrips> strips)
    : m_strips(std::move(strips))
{
}

const QImage& LazyPageImage::image() const
{
    std::call_once(m_once, [this] { decodeOnce(); });
    return m_image;
}

Status LazyPageImage::decode() const
{
    std::call_once(m_once, [this] { decodeOnce(); });
    return m_status;
}

bool LazyPageImage::decodesCleanly() const
{
    std::call_once(m_once, [this] { decodeOnce(); });
    return m_clean;
}

qint64 LazyPageImage::memoryBytes() const
{
    const qint64 encoded = m_strips->byteCount();
    return isDecoded() ? encoded + m_image.sizeInBytes() : encoded;
}

void LazyPageImage::decodeOnce() const
{
    bool warned = false;
    Result<QImage> decoded = m_strips->decode(&warned);
    m_clean = decoded.ok() && !warned;
    if (decoded.ok())
        m_image = std::move(decoded).value();
    else
        m_status = decoded.status();
    m_decoded.store(true, std::memory_order_release);
}
