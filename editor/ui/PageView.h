#pragma once

#include "editor/core/LayerStack.h"

#include <QAbstractScrollArea>
#include <QImage>

class QMenu;

// The layered page view `ImageEnView1`: shows the open page's LayerStack
// (layer 0 the page, further layers and drawn objects over it) on grey, zoomed
// and scrollable. The view owns the stack; whoever edits it in place calls
// refresh() afterwards.
class PageView : public QAbstractScrollArea
{
    Q_OBJECT

public:
    static constexpr double kMinZoom = 5.0;
    static constexpr double kMaxZoom = 500.0;
    // One Ctrl+wheel step zooms by this factor.
    static constexpr double kWheelZoomFactor = 1.25;

    explicit PageView(QWidget* parent = nullptr);

    const LayerStack& layers() const { return m_stack; }
    LayerStack& layers() { return m_stack; }
    void setLayers(LayerStack stack);
    // Redraws after the stack was changed in place.
    void refresh();

    // No page shown: the current layer's image is smaller than 2 by 2 pixels.
    bool isEmpty() const;

    // The resolution of the open page, in dots per inch.
    void setResolution(int dpiX, int dpiY);
    int dpiX() const { return m_dpiX; }
    int dpiY() const { return m_dpiY; }

    // Zoom in percent, limited to kMinZoom..kMaxZoom.
    double zoom() const { return m_zoom; }
    void setZoom(double percent);
    // The largest zoom at which the whole page fits into the view.
    double fitZoom() const;

    // Smooth (linear) resampling of the magnified page instead of none.
    // Below 100 % the page is always averaged, so thin lines stay visible.
    void setBestQuality(bool on);
    bool bestQuality() const { return m_bestQuality; }

    // A point of the view's client area in page pixels.
    QPointF mapToPage(const QPoint& viewportPoint) const;

    void setContextMenu(QMenu* menu) { m_contextMenu = menu; }

    // What the view currently shows at 100 % (for tests and printing).
    const QImage& composite() const { return m_composite; }

signals:
    // The zoom changed (by setZoom or by the user's Ctrl+wheel).
    void zoomChanged(double percent);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void renderComposite();
    void renderScaled();
    void updateScrollBars();
    QSize zoomedSize() const;
    // Top-left corner of the page in viewport coordinates.
    QPoint pageOrigin() const;

    LayerStack m_stack;
    // The stack composited at 100 %, and where its top-left corner lies
    // relative to the view's origin (negative when a layer lies left of or
    // above the page).
    QImage m_composite;
    QPoint m_compositeOffset;
    // The composite at the current zoom, kept while zoomed out (the common
    // case: a whole page in sight), so that painting only copies pixels.
    QImage m_scaled;
    double m_zoom = 100.0;
    bool m_bestQuality = false;
    int m_dpiX = 0;
    int m_dpiY = 0;
    QMenu* m_contextMenu = nullptr; // owned by the window
};
