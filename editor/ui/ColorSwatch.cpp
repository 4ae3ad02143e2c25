#include "editor/ui/ColorSwatch.h"

#include <QMouseEvent>
#include <QPainter>

namespace {
constexpr int kSwatchWidth = 36;
constexpr int kSwatchHeight = 18;
} // namespace

ColorSwatch::ColorSwatch(QWidget* parent) : QFrame(parent)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setCursor(Qt::PointingHandCursor);
}

void ColorSwatch::setColor(const QColor& color)
{
    if (m_color == color)
        return;
    m_color = color;
    update();
}

QSize ColorSwatch::sizeHint() const
{
    return {kSwatchWidth, kSwatchHeight};
}

void ColorSwatch::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.fillRect(contentsRect(), m_color);
}

void ColorSwatch::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    QFrame::mouseReleaseEvent(event);
}
