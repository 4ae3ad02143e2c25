#include "editor/core/FaxImage.h"

#include "editor/core/PageList.h"

void ApplyFaxImageParameters(std::vector<Page>&, const FaxImageOptions&) {}

void ApplyFaxImageParameters(PageList&, const FaxImageOptions&) {}

Status WriteFaxImage(const std::vector<Page>&, const QString& path)
{
    return Status::failure(path);
}

Status WriteFaxImage(const PageList& pages, const QString& path)
{
    return WriteFaxImage(pages.pages(), path);
}
