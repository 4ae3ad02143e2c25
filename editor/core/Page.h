#pragma once

#include "app/core/Status.h"
#include "editor/core/EncodedStrips.h"
#include "editor/core/PageParameters.h"

#include <QImage>
#include <QSize>

#include <memory>

class LazyPageImage;

// One page of a document: its pixels in the page's own format and its
// parameters. A 1-bit page stays QImage::Format_Mono (index 0 white, 1 black),
// so a hundred A4 pages at 300 dpi take about a megabyte each; grey pages are
// Format_Grayscale8, palette pages Format_Indexed8, colour pages Format_RGB32
// or Format_ARGB32.
//
// A page read from a Group 4 fax file may instead keep the strips it was
// stored in: its pixels are decoded on first use (from any thread, once for
// the page and all its copies), and as long as the page is unchanged the fax
// image writes those strips as they are. Replacing the pixels or changing the
// parameters lets the strips go, so an edited page is always encoded from what
// it shows.
class Page
{
public:
    Page() = default;
    Page(QImage image, PageParameters parameters);
    // A 1-bit page whose pixels are the decoded strips.
    Page(std::shared_ptr<const EncodedStrips> strips, PageParameters parameters);

    // A white 1-bit page.
    static Page blank(QSize size, PageParameters parameters = {});

    bool isNull() const;
    int width() const;
    int height() const;

    // For a page kept as strips, the first call decodes them; a null image
    // when they cannot be decoded (see decode()).
    const QImage& image() const;
    // Makes sure the pixels are there; the failure says why strips that were
    // read cannot be decoded. Always succeeds for a page made from an image.
    Status decode() const;
    // Replaces the pixels and brings bits per sample, samples per pixel and the
    // photometric reading of the parameters in step with the new image.
    void setImage(QImage image);

    const PageParameters& parameters() const { return m_parameters; }
    // Whoever writes through this may change anything, so the page stops
    // offering its stored strips.
    PageParameters& parameters();
    void setParameters(PageParameters parameters);

    // The strips the page was read from, while they still show exactly its
    // pixels; nullptr otherwise.
    const EncodedStrips* encodedStrips() const;
    // Whether those strips may be copied as they are: they decode without
    // errors and without flaws the decoder made up for. Decodes if needed.
    bool encodedStripsAreSound() const;

    // Memory the pixels take, in bytes.
    qint64 imageBytes() const;

private:
    QImage m_image;
    std::shared_ptr<const LazyPageImage> m_lazy;
    bool m_passThrough = false;
    PageParameters m_parameters;
};

// Bits per sample, samples per pixel and photometric for an image format, as a
// TIFF file would state them.
void DescribePixelFormat(const QImage& image, PageParameters& parameters);
