#pragma once

#include "editor/core/PageParameters.h"

#include <QImage>
#include <QSize>

// One page of a document: its pixels in the page's own format and its
// parameters. A 1-bit page stays QImage::Format_Mono (index 0 white, 1 black),
// so a hundred A4 pages at 300 dpi take about a megabyte each; grey pages are
// Format_Grayscale8, palette pages Format_Indexed8, colour pages Format_RGB32
// or Format_ARGB32.
class Page
{
public:
    Page() = default;
    Page(QImage image, PageParameters parameters);

    // A white 1-bit page.
    static Page blank(QSize size, PageParameters parameters = {});

    bool isNull() const { return m_image.isNull(); }
    int width() const { return m_image.width(); }
    int height() const { return m_image.height(); }

    const QImage& image() const { return m_image; }
    // Replaces the pixels and brings bits per sample, samples per pixel and the
    // photometric reading of the parameters in step with the new image.
    void setImage(QImage image);

    const PageParameters& parameters() const { return m_parameters; }
    PageParameters& parameters() { return m_parameters; }
    void setParameters(PageParameters parameters) { m_parameters = std::move(parameters); }

    // Memory the pixels take, in bytes.
    qint64 imageBytes() const { return m_image.sizeInBytes(); }

private:
    QImage m_image;
    PageParameters m_parameters;
};

// Bits per sample, samples per pixel and photometric for an image format, as a
// TIFF file would state them.
void DescribePixelFormat(const QImage& image, PageParameters& parameters);
