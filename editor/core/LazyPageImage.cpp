#include "editor/core/LazyPageImage.h"

LazyPageImage::LazyPageImage(std::shared_ptr<const EncodedStrips> strips)
    : m_strips(std::move(strips))
{
}

const QImage& LazyPageImage::image() const
{
    ensureDecoded();
    return m_image;
}

Status LazyPageImage::decode() const
{
    ensureDecoded();
    return m_status;
}

bool LazyPageImage::decodesCleanly() const
{
    ensureDecoded();
    return m_clean;
}

qint64 LazyPageImage::memoryBytes() const
{
    const qint64 encoded = m_strips->byteCount();
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_decoded ? encoded + m_image.sizeInBytes() : encoded;
}

void LazyPageImage::ensureDecoded() const
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    if (m_decoded)
        return;
    bool warned = false;
    Result<QImage> decoded = m_strips->decode(&warned);
    m_clean = decoded.ok() && !warned;
    if (decoded.ok())
        m_image = std::move(decoded).value();
    else
        m_status = decoded.status();
    m_decoded = true;
}
