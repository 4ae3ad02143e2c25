#pragma once

#include "editor/core/DocumentReader.h"

// Pictures through Qt's image readers (PNG, BMP, JPEG, GIF, ICO, ...). For
// multi-image formats (GIF frames, icon images) every image becomes a page;
// otherwise the file is one picture and gives one page.
class QtImageDocumentReader : public DocumentReader
{
public:
    enum class Images { First, All };
    explicit QtImageDocumentReader(Images images = Images::First);

    Result<std::vector<Page>> read(const QString& path) const override;

private:
    Images m_images;
};
