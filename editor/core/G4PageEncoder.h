#pragma once

#include "app/core/Status.h"

#include <QByteArray>
#include <QImage>

// Encodes one page image as CCITT Group 4 data (T.6, rows most significant
// bit first, 1 = black), reduced to black and white by BilevelPacker with its
// two-colour rule. The result is the raw strip of a one-strip TIFF page, so a
// document's pages can be encoded side by side on several threads and then
// written one after another. Safe to call from any thread.
class G4PageEncoder
{
public:
    static Result<QByteArray> encode(const QImage& image);
};
