#pragma once

#include <QColor>
#include <QFrame>

// A small framed field filled with one colour (the pen and brush colour
// swatches). Clicking it is announced; choosing a new colour is up to the
// window.
class ColorSwatch : public QFrame
{
    Q_OBJECT

public:
    explicit ColorSwatch(QWidget* parent = nullptr);

    QColor color() const { return m_color; }
    void setColor(const QColor& color);

    QSize sizeHint() const override;

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QColor m_color = Qt::black;
};
