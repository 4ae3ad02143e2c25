#pragma once

#include "app/core/Status.h"
#include "editor/core/Page.h"

#include <QString>

#include <vector>

class PageList;

// The settings that shape the fax image ("ChangeOutputDPI", "OutputDPI").
struct FaxImageOptions
{
    bool changeOutputDpi = false;
    int outputDpi = 300;
};

// Sets every page's parameters for the fax image: CCITT Group 4, 1 bit per
// sample, 1 sample per pixel. With changeOutputDpi every page is resampled to
// outputDpi in both directions so that it keeps its physical size (a page
// that only had its resolution relabelled would come out larger or smaller
// than the sheet it was); otherwise every page keeps its own resolution.
// Resampled pages keep their pixel format.
void ApplyFaxImageParameters(std::vector<Page>& pages, const FaxImageOptions& options);
void ApplyFaxImageParameters(PageList& pages, const FaxImageOptions& options);

// Writes all pages, in order, as one multi-page TIFF: one directory per page,
// Group 4, 1 bit per sample, min-is-white, each page at its own resolution.
// 1-bit pages are written as they are; a page of at most two colours is mapped
// pixel for pixel (the darker colour black); any other page by a luminance
// threshold. The pages themselves keep their colours. Writing is all or
// nothing: the file is made under a temporary name beside the target and
// renamed over it only when complete, so a failure leaves an existing file as
// it was; the failure names the file and the reason. A page that still holds
// the Group 4 strips it was read from (and shows exactly them) is written with
// those strips and their rows per strip unchanged, after they were found to
// decode; every other page is encoded. Pages are encoded on as many threads as
// there are cores, then written in order.
Status WriteFaxImage(const std::vector<Page>& pages, const QString& path);
Status WriteFaxImage(const PageList& pages, const QString& path);
