#include "editor/core/LayerStack.h"

#include "editor/core/BilevelPacker.h"

#include <QPainter>

#include <algorithm>

namespace {

// The "Operation" codes that have a like-named composition in QPainter; the
// others are drawn as "Normal".
QPainter::CompositionMode compositionFor(int operation)
{
    switch (operation) {
    case 1:
        return QPainter::CompositionMode_Plus;
    case 2:
        return QPainter::CompositionMode_Difference;
    case 4:
        return QPainter::CompositionMode_Multiply;
    case 8:
        return QPainter::CompositionMode_Lighten;
    case 9:
        return QPainter::CompositionMode_Darken;
    case 11:
        return QPainter::CompositionMode_Screen;
    case 13:
        return QPainter::CompositionMode_Exclusion;
    case 14:
        return QPainter::CompositionMode_Overlay;
    case 15:
        return QPainter::CompositionMode_HardLight;
    case 16:
        return QPainter::CompositionMode_SoftLight;
    case 19:
        return QPainter::CompositionMode_ColorBurn;
    default:
        return QPainter::CompositionMode_SourceOver;
    }
}

// Transparent parts of the flattened image count as white paper.
QImage onWhite(const QImage& image)
{
    if (!image.hasAlphaChannel())
        return image.convertToFormat(QImage::Format_RGB32);
    QImage opaque(image.size(), QImage::Format_RGB32);
    opaque.setDotsPerMeterX(image.dotsPerMeterX());
    opaque.setDotsPerMeterY(image.dotsPerMeterY());
    opaque.fill(Qt::white);
    QPainter painter(&opaque);
    painter.drawImage(0, 0, image);
    return opaque;
}

QImage toGrey(const QImage& image)
{
    return onWhite(image).convertToFormat(QImage::Format_Grayscale8);
}

QImage toIndexed(const QImage& image, const QVector<QRgb>& colorTable)
{
    const QImage opaque = onWhite(image);
    if (colorTable.isEmpty())
        return opaque.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither);
    return opaque.convertToFormat(QImage::Format_Indexed8, colorTable, Qt::ThresholdDither);
}

} // namespace

QColor LayerStack::backgroundColor()
{
    return QColor(Qt::gray);
}

LayerStack::LayerStack()
{
    m_layers.emplace_back();
}

LayerStack::LayerStack(const LayerStack& other)
    : m_layers(other.m_layers), m_current(other.m_current), m_changedMark(other.m_changedMark),
      m_pageFormat(other.m_pageFormat), m_pageColorTable(other.m_pageColorTable)
{
    for (const auto& object : other.m_objects)
        m_objects.push_back(object->clone());
}

LayerStack& LayerStack::operator=(const LayerStack& other)
{
    if (this != &other) {
        LayerStack copy(other);
        *this = std::move(copy);
    }
    return *this;
}

LayerStack::~LayerStack() = default;

LayerStack LayerStack::fromPage(const Page& page)
{
    LayerStack stack;
    Layer& background = stack.m_layers.front();
    background.image = page.image().convertToFormat(QImage::Format_ARGB32);
    background.locked = true;
    background.visibleBox = false;
    stack.m_pageFormat = page.image().format();
    if (stack.m_pageFormat == QImage::Format_Indexed8)
        stack.m_pageColorTable = page.image().colorTable();
    return stack;
}

const Layer& LayerStack::layer(int index) const
{
    Q_ASSERT(isValidLayer(index));
    return m_layers[static_cast<size_t>(index)];
}

Layer& LayerStack::layer(int index)
{
    Q_ASSERT(isValidLayer(index));
    return m_layers[static_cast<size_t>(index)];
}

bool LayerStack::setCurrentLayer(int index)
{
    if (!isValidLayer(index))
        return false;
    m_current = index;
    return true;
}

int LayerStack::addLayer(Layer layer)
{
    m_layers.push_back(std::move(layer));
    m_current = layerCount() - 1;
    return m_current;
}

bool LayerStack::insertLayer(int index, Layer layer)
{
    if (index < 0 || index > layerCount())
        return false;
    m_layers.insert(m_layers.begin() + index, std::move(layer));
    m_current = index;
    return true;
}

bool LayerStack::removeLayer(int index)
{
    if (!isValidLayer(index) || layerCount() == 1)
        return false;
    m_layers.erase(m_layers.begin() + index);
    m_current =
        std::min(m_current >= index && m_current > 0 ? m_current - 1 : m_current, layerCount() - 1);
    return true;
}

bool LayerStack::moveLayer(int from, int to)
{
    if (!isValidLayer(from) || !isValidLayer(to))
        return false;
    if (from == to)
        return true;
    Layer moving = std::move(m_layers[static_cast<size_t>(from)]);
    m_layers.erase(m_layers.begin() + from);
    m_layers.insert(m_layers.begin() + to, std::move(moving));
    if (m_current == from)
        m_current = to;
    return true;
}

void LayerStack::removeUpperLayers()
{
    m_layers.resize(1);
    m_current = 0;
}

const VectorObject& LayerStack::object(int index) const
{
    Q_ASSERT(index >= 0 && index < objectCount());
    return *m_objects[static_cast<size_t>(index)];
}

void LayerStack::addObject(std::unique_ptr<VectorObject> object)
{
    if (object)
        m_objects.push_back(std::move(object));
}

bool LayerStack::removeObject(int index)
{
    if (index < 0 || index >= objectCount())
        return false;
    m_objects.erase(m_objects.begin() + index);
    return true;
}

void LayerStack::clearObjects()
{
    m_objects.clear();
}

bool LayerStack::hasChanges() const
{
    return layerCount() > 1 || !m_objects.empty() || m_changedMark;
}

QImage LayerStack::Flatten() const
{
    const QRect background = m_layers.front().rect();
    // The area every layer that may enlarge the page covers, and the origin.
    QRect covered = background;
    for (const Layer& layer : m_layers) {
        if (!layer.cropped && !layer.size().isEmpty())
            covered = covered.united(layer.rect());
    }
    const int left = std::min(0, covered.left());
    const int top = std::min(0, covered.top());
    const int right = std::max(0, covered.right() + 1);
    const int bottom = std::max(0, covered.bottom() + 1);
    if (right - left <= 0 || bottom - top <= 0)
        return {};

    QImage result(right - left, bottom - top, QImage::Format_ARGB32);
    if (result.isNull())
        return result;
    result.fill(backgroundColor());
    QPainter painter(&result);
    painter.translate(-left, -top);
    for (const Layer& layer : m_layers) {
        if (!layer.visible || layer.mask || layer.image.isNull() || layer.size().isEmpty())
            continue;
        painter.save();
        if (layer.cropped)
            painter.setClipRect(background);
        painter.setOpacity(layer.transparency / static_cast<double>(Layer::kOpaque));
        painter.setCompositionMode(compositionFor(layer.operation));
        painter.setRenderHint(QPainter::SmoothPixmapTransform, layer.size() != layer.image.size());
        painter.drawImage(layer.rect(), layer.image);
        painter.restore();
    }
    painter.setRenderHint(QPainter::Antialiasing);
    for (const auto& object : m_objects)
        object->paint(painter);
    return result;
}

Page LayerStack::toPage(const PageParameters& parameters) const
{
    const QImage flat = Flatten();
    QImage image = m_pageFormat == QImage::Format_Invalid
                       ? ConvertToPixelFormat(flat, parameters, m_pageColorTable)
                       : ConvertToPixelFormat(flat, m_pageFormat, m_pageColorTable);
    return Page(std::move(image), parameters);
}

QImage::Format PixelFormatFor(const PageParameters& parameters)
{
    if (parameters.isBilevel())
        return QImage::Format_Mono;
    if (parameters.samplesPerPixel == 1)
        return parameters.photometric == PageParameters::kPhotometricPalette
                   ? QImage::Format_Indexed8
                   : QImage::Format_Grayscale8;
    return parameters.samplesPerPixel >= 4 ? QImage::Format_ARGB32 : QImage::Format_RGB32;
}

QImage ConvertToPixelFormat(const QImage& image, const PageParameters& parameters,
                            const QVector<QRgb>& colorTable)
{
    return ConvertToPixelFormat(image, PixelFormatFor(parameters), colorTable);
}

QImage ConvertToPixelFormat(const QImage& image, QImage::Format format,
                            const QVector<QRgb>& colorTable)
{
    if (image.isNull())
        return image;
    switch (format) {
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
        return BilevelPacker::toMonoImage(image, BilevelPacker::TwoColours::Threshold);
    case QImage::Format_Indexed8:
        return toIndexed(image, colorTable);
    case QImage::Format_Grayscale8:
    case QImage::Format_Grayscale16:
        return toGrey(image);
    case QImage::Format_ARGB32:
        return image.convertToFormat(QImage::Format_ARGB32);
    default:
        return onWhite(image);
    }
}
