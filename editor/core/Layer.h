#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>

// One layer of the open page. Layer 0 is the background that holds the page
// image; higher layers are drawn over lower ones.
struct Layer
{
    static constexpr int kOpaque = 255;
    static constexpr double kDefaultMagnification = 2.0;
    enum MagnifyStyle { MagnifyRectangle = 0, MagnifyEllipse = 1 };
    enum MagnifySource { MagnifyBackground = 0, MagnifyCanvas = 1 };
    // Index into the "Operation" list; 0 is "Normal". Drawn as their
    // namesakes: Add, Sub (difference), Mul, OR, AND, XOR, MAX (lighten),
    // MIN (darken), Screen, Exclusion, Overlay, HardLight, SoftLight and
    // ColorBurn; the other codes are kept but drawn as Normal.
    static constexpr int kOperationNormal = 0;
    static constexpr int kOperationCount = 38;

    QImage image;
    QPoint position;   // top-left corner relative to the view's origin
    QSize displaySize; // 0 in a dimension means the image's own size
    bool visible = true;
    bool visibleBox = true;
    int transparency = kOpaque; // 0 to 255, 255 fully opaque
    bool cropped = false;       // drawn only inside the background layer
    bool locked = false;
    bool selectable = true;
    bool magnify = false;
    double magnification = kDefaultMagnification;
    int magnifyStyle = MagnifyRectangle;
    int magnifySource = MagnifyCanvas;
    int operation = kOperationNormal;
    // Transparency mask of the layer directly below: its white lets that
    // layer show, its black hides it, and outside the mask nothing shows.
    // The mask itself is never drawn.
    bool mask = false;

    // The size the layer is drawn at.
    QSize size() const
    {
        return {displaySize.width() > 0 ? displaySize.width() : image.width(),
                displaySize.height() > 0 ? displaySize.height() : image.height()};
    }
    QRect rect() const { return {position, size()}; }
};
