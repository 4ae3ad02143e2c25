#include "editor/core/LayerStack.h"

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
      m_pageColorTable(other.m_pageColorTable)
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
    stack.m_layers.front().image = page.image().convertToFormat(QImage::Format_ARGB32);
    return stack;
}

const Layer& LayerStack::layer(int index) const
{
    return m_layers[static_cast<size_t>(index)];
}

Layer& LayerStack::layer(int index)
{
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

bool LayerStack::insertLayer(int, Layer)
{
    return false;
}

bool LayerStack::removeLayer(int)
{
    return false;
}

bool LayerStack::moveLayer(int, int)
{
    return false;
}

void LayerStack::removeUpperLayers() {}

const VectorObject& LayerStack::object(int index) const
{
    return *m_objects[static_cast<size_t>(index)];
}

void LayerStack::addObject(std::unique_ptr<VectorObject> object)
{
    m_objects.push_back(std::move(object));
}

bool LayerStack::removeObject(int)
{
    return false;
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
    return m_layers.front().image;
}

Page LayerStack::toPage(const PageParameters& parameters) const
{
    return Page(ConvertToPixelFormat(Flatten(), parameters, m_pageColorTable), parameters);
}

QImage ConvertToPixelFormat(const QImage& image, const PageParameters&, const QVector<QRgb>&)
{
    return image;
}
