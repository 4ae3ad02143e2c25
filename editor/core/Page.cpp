#include "editor/core/Page.h"

#include "editor/core/LazyPageImage.h"

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

Page::Page(std::shared_ptr<const EncodedStrips> strips, PageParameters parameters)
    : m_lazy(std::make_shared<const LazyPageImage>(std::move(strips))), m_passThrough(true),
      m_parameters(std::move(parameters))
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

bool Page::isNull() const
{
    return !m_lazy && m_image.isNull();
}

int Page::width() const
{
    return m_lazy ? m_lazy->strips().width() : m_image.width();
}

int Page::height() const
{
    return m_lazy ? m_lazy->strips().height() : m_image.height();
}

const QImage& Page::image() const
{
    return m_lazy ? m_lazy->image() : m_image;
}

Status Page::decode() const
{
    return m_lazy ? m_lazy->decode() : Status::success();
}

void Page::setImage(QImage image)
{
    m_image = std::move(image);
    m_lazy.reset();
    m_passThrough = false;
    DescribePixelFormat(m_image, m_parameters);
}

PageParameters& Page::parameters()
{
    m_passThrough = false;
    return m_parameters;
}

void Page::setParameters(PageParameters parameters)
{
    if (parameters != m_parameters)
        m_passThrough = false;
    m_parameters = std::move(parameters);
}

const EncodedStrips* Page::encodedStrips() const
{
    return m_lazy && m_passThrough ? &m_lazy->strips() : nullptr;
}

bool Page::encodedStripsAreSound() const
{
    return encodedStrips() != nullptr && m_lazy->decodesCleanly();
}

qint64 Page::imageBytes() const
{
    return m_lazy ? m_lazy->memoryBytes() : m_image.sizeInBytes();
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
