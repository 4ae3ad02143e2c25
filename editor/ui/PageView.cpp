#include "editor/ui/PageView.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {
constexpr int kScrollStep = 20;

// A single opaque layer at the origin, no objects: the page image can be
// shown as it is, without compositing a copy of it.
bool IsPlainPage(const LayerStack& stack)
{
    if (stack.layerCount() != 1 || stack.objectCount() != 0 || stack.changedMark())
        return false;
    const Layer& page = stack.layer(0);
    return page.visible && page.transparency == Layer::kOpaque && page.position.isNull() &&
           page.displaySize.isEmpty() && !page.magnify && page.operation == Layer::kOperationNormal;
}

// Where the flattened stack begins: the origin, or further left / up when a
// layer that is not cropped lies beyond it.
QPoint CompositeOffset(const LayerStack& stack)
{
    QPoint offset;
    for (int i = 0; i < stack.layerCount(); ++i) {
        const Layer& layer = stack.layer(i);
        if (i > 0 && layer.cropped)
            continue;
        offset.setX(std::min(offset.x(), layer.position.x()));
        offset.setY(std::min(offset.y(), layer.position.y()));
    }
    return offset;
}
} // namespace

PageView::PageView(QWidget* parent) : QAbstractScrollArea(parent)
{
    QPalette colours = palette();
    colours.setColor(QPalette::Base, LayerStack::backgroundColor());
    colours.setColor(QPalette::Window, LayerStack::backgroundColor());
    setPalette(colours);
    viewport()->setPalette(colours);
    viewport()->setAutoFillBackground(false);
    setFrameShape(QFrame::NoFrame);
    horizontalScrollBar()->setSingleStep(kScrollStep);
    verticalScrollBar()->setSingleStep(kScrollStep);
    setFocusPolicy(Qt::StrongFocus);
}

void PageView::setLayers(LayerStack stack)
{
    m_stack = std::move(stack);
    refresh();
}

void PageView::refresh()
{
    renderComposite();
    renderScaled();
    updateScrollBars();
    viewport()->update();
}

bool PageView::isEmpty() const
{
    if (!m_stack.isValidLayer(m_stack.currentLayer()))
        return true;
    const QImage& image = m_stack.layer(m_stack.currentLayer()).image;
    return image.width() < 2 && image.height() < 2;
}

void PageView::setResolution(int dpiX, int dpiY)
{
    m_dpiX = dpiX;
    m_dpiY = dpiY;
}

void PageView::setZoom(double percent)
{
    const double limited = std::clamp(percent, kMinZoom, kMaxZoom);
    if (qFuzzyCompare(limited, m_zoom))
        return;
    const QPointF centre = mapToPage(viewport()->rect().center());
    m_zoom = limited;
    renderScaled();
    updateScrollBars();
    // Keep the point that was in the middle of the view in the middle.
    const double scale = m_zoom / 100.0;
    horizontalScrollBar()->setValue(
        qRound((centre.x() - m_compositeOffset.x()) * scale - viewport()->width() / 2.0));
    verticalScrollBar()->setValue(
        qRound((centre.y() - m_compositeOffset.y()) * scale - viewport()->height() / 2.0));
    viewport()->update();
    emit zoomChanged(m_zoom);
}

double PageView::fitZoom() const
{
    if (m_composite.isNull() || m_composite.width() < 1 || m_composite.height() < 1)
        return 100.0;
    const QSize room = maximumViewportSize();
    const double byWidth = 100.0 * room.width() / m_composite.width();
    const double byHeight = 100.0 * room.height() / m_composite.height();
    return std::min(byWidth, byHeight);
}

void PageView::setBestQuality(bool on)
{
    if (m_bestQuality == on)
        return;
    m_bestQuality = on;
    viewport()->update();
}

QPointF PageView::mapToPage(const QPoint& viewportPoint) const
{
    const double scale = m_zoom / 100.0;
    const QPoint origin = pageOrigin();
    return {(viewportPoint.x() - origin.x()) / scale + m_compositeOffset.x(),
            (viewportPoint.y() - origin.y()) / scale + m_compositeOffset.y()};
}

QSize PageView::zoomedSize() const
{
    const double scale = m_zoom / 100.0;
    return {std::max(1, qRound(m_composite.width() * scale)),
            std::max(1, qRound(m_composite.height() * scale))};
}

QPoint PageView::pageOrigin() const
{
    // A page smaller than the view is centred in it; a larger one scrolls.
    const QSize shown = zoomedSize();
    const QSize room = viewport()->size();
    const int x = shown.width() < room.width() ? (room.width() - shown.width()) / 2
                                               : -horizontalScrollBar()->value();
    const int y = shown.height() < room.height() ? (room.height() - shown.height()) / 2
                                                 : -verticalScrollBar()->value();
    return {x, y};
}

void PageView::renderComposite()
{
    if (IsPlainPage(m_stack)) {
        // Shares the layer's pixels: no copy is made.
        m_composite = m_stack.layer(0).image;
        m_compositeOffset = QPoint();
        return;
    }
    m_composite = m_stack.Flatten();
    m_compositeOffset = CompositeOffset(m_stack);
}

void PageView::renderScaled()
{
    m_scaled = QImage();
    if (m_composite.isNull() || m_zoom >= 100.0)
        return;
    // Zoomed out, a page is always averaged: dropping pixels instead would
    // lose the thin strokes of faxed text, and a page shown whole must stay
    // legible. Best Quality matters when zoomed in (see paintEvent).
    m_scaled = m_composite.scaled(zoomedSize(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

void PageView::updateScrollBars()
{
    const QSize shown = m_composite.isNull() ? QSize(0, 0) : zoomedSize();
    const QSize room = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, shown.width() - room.width()));
    verticalScrollBar()->setRange(0, std::max(0, shown.height() - room.height()));
    horizontalScrollBar()->setPageStep(room.width());
    verticalScrollBar()->setPageStep(room.height());
}

void PageView::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    painter.fillRect(event->rect(), LayerStack::backgroundColor());
    if (m_composite.isNull())
        return;
    painter.setClipRect(event->rect());
    const QRect target(pageOrigin(), zoomedSize());
    if (!m_scaled.isNull()) {
        painter.drawImage(target.topLeft(), m_scaled);
        return;
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform, m_bestQuality);
    painter.drawImage(target, m_composite);
}

void PageView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void PageView::wheelEvent(QWheelEvent* event)
{
    if (!(event->modifiers() & Qt::ControlModifier)) {
        QAbstractScrollArea::wheelEvent(event);
        return;
    }
    const int steps = event->angleDelta().y() / QWheelEvent::DefaultDeltasPerStep;
    if (steps != 0)
        setZoom(m_zoom * std::pow(kWheelZoomFactor, steps));
    event->accept();
}

void PageView::contextMenuEvent(QContextMenuEvent* event)
{
    if (!m_contextMenu) {
        QAbstractScrollArea::contextMenuEvent(event);
        return;
    }
    m_contextMenu->popup(event->globalPos());
    event->accept();
}

void PageView::scrollContentsBy(int, int)
{
    viewport()->update();
}
