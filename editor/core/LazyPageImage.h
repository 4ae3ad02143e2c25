#pragma once

#include "app/core/Status.h"
#include "editor/core/EncodedStrips.h"

#include <QImage>

#include <memory>
#include <mutex>

// The pixels of a page kept as encoded strips, decoded the first time anyone
// asks for them and kept from then on. Copies of a page share one of these,
// so a page is decoded once however often it is copied, and several threads
// may ask at once (the fax image encodes pages side by side): the first one
// decodes, the others wait for it.
class LazyPageImage
{
public:
    explicit LazyPageImage(std::shared_ptr<const EncodedStrips> strips);
    LazyPageImage(const LazyPageImage&) = delete;
    LazyPageImage& operator=(const LazyPageImage&) = delete;

    const EncodedStrips& strips() const { return *m_strips; }
    // The decoded pixels; a null image when the strips cannot be decoded.
    const QImage& image() const;
    // Decodes if not done yet; the failure says why the strips are unusable.
    Status decode() const;
    // Decodes if not done yet; true when the strips decoded without a flaw
    // the decoder had to make up for, so that they may be copied elsewhere.
    bool decodesCleanly() const;
    // The strips, and the pixels once decoded.
    qint64 memoryBytes() const;

private:
    // Decodes unless done before; the pixels never change afterwards, so
    // what it leaves may be read without the lock.
    void ensureDecoded() const;

    std::shared_ptr<const EncodedStrips> m_strips;
    mutable std::mutex m_mutex;
    mutable bool m_decoded = false;
    mutable QImage m_image;
    mutable Status m_status = Status::success();
    mutable bool m_clean = false;
};
