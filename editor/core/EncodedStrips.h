#pragma once

#include "app/core/Status.h"

#include <QByteArray>
#include <QImage>

#include <vector>

// A 1-bit page as it was stored in its file: CCITT Group 4 strips, rows most
// significant bit first, 0 = white. Kept with a page read from such a file so
// that the fax image can take the strips as they are instead of decoding and
// encoding the page again, and so that the pixels need not be decoded before
// someone looks at them.
class EncodedStrips
{
public:
    EncodedStrips(int width, int height, int rowsPerStrip, std::vector<QByteArray> strips);

    int width() const { return m_width; }
    int height() const { return m_height; }
    int rowsPerStrip() const { return m_rowsPerStrip; }
    const std::vector<QByteArray>& strips() const { return m_strips; }
    qint64 byteCount() const;

    // The pixels as a 1-bit page (Format_Mono, index 0 white, 1 black), or a
    // failure saying why the data cannot be decoded. warned, if given, tells
    // whether the decoder had to make up for flaws (rows cut short), so that
    // such data can be kept from going anywhere as it is. Safe from any
    // thread.
    Result<QImage> decode(bool* warned = nullptr) const;

private:
    int m_width;
    int m_height;
    int m_rowsPerStrip;
    std::vector<QByteArray> m_strips;
};
