#pragma once

#include <QRectF>

#include <memory>

class QPainter;

// Base of the drawn objects that lie over a page (lines, boxes, ellipses,
// texts, ...). Coordinates are page pixels, relative to the view's origin (the
// background layer's top-left corner when it sits at 0,0). Objects paint
// themselves, so the view, the flattening of a page and tests draw them alike.
class VectorObject
{
public:
    virtual ~VectorObject() = default;

    virtual QRectF bounds() const = 0;
    virtual void paint(QPainter& painter) const = 0;
    virtual std::unique_ptr<VectorObject> clone() const = 0;

protected:
    VectorObject() = default;
    VectorObject(const VectorObject&) = default;
    VectorObject& operator=(const VectorObject&) = default;
};
