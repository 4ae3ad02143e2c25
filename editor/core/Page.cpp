#include "editor/core/Page.h"

namespace {

QVector<QRgb> whiteIsZeroTable()
{
    return {qRgb(255, 255, 255), qRgb(0, 0, 0)};
}

} // namespace

Page::Page(QImage image, PageParameters parameters)
    : m_image(std::move(image)), m_parameters(std::move(parameters))
{
}

Page Page::blank(QSize size, PageParameters parameters)
{
    QImage image(size, QImage::Format_Mono);
    image.setColorTable(whiteIsZeroTable());
    image.fill(0);
    parameters.bitsPerSample = 1;
    parameters.samplesPerPixel = 1;
    parameters.photometric = PageParameters::kPhotometricMinIsWhite;
    return Page(std::move(image), std::move(parameters));
}

void Page::setImage(QImage image)
{
    m_image = std::move(image);
    DescribePixelFormat(m_image, m_parameters);
}

void DescribePixelFormat(const QImage& image, PageParameters& parameters)
{
    switch (image.format()) {
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
        parameters.bitsPerSample = 1;
        parameters.samplesPerPixel = 1;
        parameters.photometric = PageParameters::kPhotometricMinIsWhite;
        break;
    case QImage::Format_Grayscale8:
    case QImage::Format_Grayscale16:
        parameters.bitsPerSample = 8;
        parameters.samplesPerPixel = 1;
        parameters.photometric = PageParameters::kPhotometricMinIsBlack;
        break;
    case QImage::Format_Indexed8:
        parameters.bitsPerSample = 8;
        parameters.samplesPerPixel = 1;
        parameters.photometric = PageParameters::kPhotometricPalette;
        break;
    default:
        parameters.bitsPerSample = 8;
        parameters.samplesPerPixel = image.hasAlphaChannel() ? 4 : 3;
        parameters.photometric = PageParameters::kPhotometricRgb;
        break;
    }
}
