#pragma once

#include "app/core/Status.h"
#include "editor/core/Page.h"

#include <QString>

#include <vector>

// Reads every page of one document file. A reader either returns all pages or
// a failure whose text names the file and says what is wrong with it; it
// never hands back part of a document as if it were the whole.
class DocumentReader
{
public:
    virtual ~DocumentReader() = default;
    virtual Result<std::vector<Page>> read(const QString& path) const = 0;

    // No page may have more pixels than this: a header that claims more is
    // damaged or hostile, and even a 600 dpi A0 sheet stays well below it.
    static constexpr qint64 kMaxPagePixels = 400'000'000;
};
