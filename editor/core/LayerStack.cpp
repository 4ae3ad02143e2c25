#include "editor/core/LayerStack.h"

#include "editor/core/BilevelPacker.h"

#include <QPainter>
#include <QPainterPath>

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
    case 5:
        return QPainter::RasterOp_SourceOrDestination;
    case 6:
        return QPainter::RasterOp_SourceAndDestination;
    case 7:
        return QPainter::RasterOp_SourceXorDestination;
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

// A mask's pixels as opacity: white shows the layer under it, black hides it.
QImage maskOpacity(const QImage& mask, QSize size)
{
    const QImage grey = mask.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                            .convertToFormat(QImage::Format_Grayscale8);
    QImage opacity(size, QImage::Format_ARGB32);
    for (int y = 0; y < size.height(); ++y) {
        const uchar* in = grey.constScanLine(y);
        auto* out = reinterpret_cast<QRgb*>(opacity.scanLine(y));
        for (int x = 0; x < size.width(); ++x)
            out[x] = qRgba(0, 0, 0, in[x]);
    }
    return opacity;
}

// The layer's picture as drawn at its own size, cut by the mask that lies
// over it; outside the mask's rectangle nothing of the layer shows.
QImage masked(const QImage& content, const QRect& where, const Layer& mask)
{
    QImage result(where.size(), QImage::Format_ARGB32_Premultiplied);
    result.fill(Qt::transparent);
    QPainter painter(&result);
    painter.drawImage(QRect(QPoint(0, 0), where.size()), content);
    QImage window(where.size(), QImage::Format_ARGB32_Premultiplied);
    window.fill(Qt::transparent);
    if (!mask.image.isNull() && !mask.size().isEmpty()) {
        QPainter windowPainter(&window);
        windowPainter.drawImage(mask.rect().topLeft() - where.topLeft(),
                                maskOpacity(mask.image, mask.size()));
    }
    painter.setCompositionMode(QPainter::CompositionMode_DestinationIn);
    painter.drawImage(0, 0, window);
    return result;
}

// What a magnifying layer shows: the part of source (an image whose origin
// lies at origin in view coordinates) around the layer's centre, enlarged to
// fill the layer.
QImage magnified(const QImage& source, QPoint origin, const Layer& layer)
{
    const QRect where = layer.rect();
    const double factor = layer.magnification > 0.0 ? layer.magnification : 1.0;
    const QSizeF seen(where.width() / factor, where.height() / factor);
    const QPointF centre = QRectF(where).center() - QPointF(origin);
    const QRectF from(centre.x() - seen.width() / 2, centre.y() - seen.height() / 2, seen.width(),
                      seen.height());
    QImage result(where.size(), QImage::Format_ARGB32_Premultiplied);
    result.fill(Qt::transparent);
    QPainter painter(&result);
    if (layer.magnifyStyle == Layer::MagnifyEllipse) {
        QPainterPath ellipse;
        ellipse.addEllipse(QRectF(QPointF(0, 0), QSizeF(where.size())));
        painter.setClipPath(ellipse);
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRectF(QPointF(0, 0), QSizeF(where.size())), source, from);
    return result;
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
    const QPoint origin(left, top);
    QPainter painter(&result);
    painter.translate(-left, -top);
    for (size_t i = 0; i < m_layers.size(); ++i) {
        const Layer& layer = m_layers[i];
        if (!layer.visible || layer.mask || layer.size().isEmpty())
            continue;
        QImage content;
        if (layer.magnify) {
            painter.end();
            content = magnified(layer.magnifySource == Layer::MagnifyBackground
                                    ? backgroundOnly(result.size(), origin)
                                    : result,
                                origin, layer);
            painter.begin(&result);
            painter.translate(-left, -top);
        } else {
            content = layer.image;
        }
        if (!content.isNull())
            paintLayer(painter, i, content);
    }
    painter.setRenderHint(QPainter::Antialiasing);
    for (const auto& object : m_objects)
        object->paint(painter);
    return result;
}

void LayerStack::paintLayer(QPainter& painter, size_t index, const QImage& content) const
{
    const Layer& layer = m_layers[index];
    QImage drawn = content;
    // A mask is the layer right above the one it cuts.
    if (index + 1 < m_layers.size() && m_layers[index + 1].mask)
        drawn = masked(drawn, layer.rect(), m_layers[index + 1]);
    painter.save();
    if (layer.cropped)
        painter.setClipRect(m_layers.front().rect());
    painter.setOpacity(layer.transparency / static_cast<double>(Layer::kOpaque));
    painter.setCompositionMode(compositionFor(layer.operation));
    painter.setRenderHint(QPainter::SmoothPixmapTransform, layer.size() != drawn.size());
    painter.drawImage(layer.rect(), drawn);
    painter.restore();
}

bool LayerStack::mergeLayers(int lower, int upper)
{
    if (!isValidLayer(lower) || !isValidLayer(upper) || lower >= upper)
        return false;
    const Layer& a = m_layers[static_cast<size_t>(lower)];
    const Layer& b = m_layers[static_cast<size_t>(upper)];
    const QRect area = lower == 0 ? a.rect() : a.rect().united(b.rect());
    if (area.isEmpty())
        return false;
    QImage image(area.size(), QImage::Format_ARGB32);
    if (image.isNull())
        return false;
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.translate(-area.topLeft());
        for (const int index : {lower, upper}) {
            const Layer& layer = m_layers[static_cast<size_t>(index)];
            if (layer.visible && !layer.image.isNull() && !layer.size().isEmpty())
                paintLayer(painter, static_cast<size_t>(index), layer.image);
        }
    }
    Layer merged;
    merged.image = std::move(image);
    merged.position = area.topLeft();
    merged.locked = a.locked;
    merged.visibleBox = a.visibleBox;
    merged.selectable = a.selectable;

    const bool upperHasMask =
        upper + 1 < layerCount() && m_layers[static_cast<size_t>(upper) + 1].mask;
    m_layers.erase(m_layers.begin() + upper, m_layers.begin() + upper + (upperHasMask ? 2 : 1));
    const bool lowerHasMask =
        lower + 1 < layerCount() && m_layers[static_cast<size_t>(lower) + 1].mask;
    if (lowerHasMask)
        m_layers.erase(m_layers.begin() + lower + 1); // its effect is in the merged pixels
    m_layers[static_cast<size_t>(lower)] = std::move(merged);
    m_current = lower;
    return true;
}

QImage LayerStack::backgroundOnly(QSize size, QPoint origin) const
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(backgroundColor());
    QPainter painter(&image);
    const Layer& background = m_layers.front();
    if (!background.image.isNull())
        painter.drawImage(background.rect().translated(-origin), background.image);
    return image;
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
