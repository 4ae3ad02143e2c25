#pragma once

#include "editor/core/Layer.h"
#include "editor/core/Page.h"
#include "editor/core/VectorObject.h"

#include <QColor>
#include <QImage>

class QPainter;

#include <memory>
#include <vector>

// The content of the layered page view for the open page: the layers (layer 0
// holds a copy of the page image expanded to ARGB32 for editing), the drawn
// objects over them, the current layer and the changed mark. It is a value:
// copying it copies layers and objects, which is what an undo snapshot needs.
class LayerStack
{
public:
    // The grey the view shows where no layer covers it; flattening fills
    // uncovered parts of the page with it.
    static QColor backgroundColor();

    // One empty background layer (no page open).
    LayerStack();
    LayerStack(const LayerStack& other);
    LayerStack& operator=(const LayerStack& other);
    LayerStack(LayerStack&&) noexcept = default;
    LayerStack& operator=(LayerStack&&) noexcept = default;
    ~LayerStack();

    // The view's content right after a page was loaded: the page image as the
    // only layer, locked and without a visible box, no objects, mark cleared.
    static LayerStack fromPage(const Page& page);

    int layerCount() const { return static_cast<int>(m_layers.size()); }
    // index must be valid.
    const Layer& layer(int index) const;
    Layer& layer(int index);
    const std::vector<Layer>& layers() const { return m_layers; }
    bool isValidLayer(int index) const { return index >= 0 && index < layerCount(); }

    int currentLayer() const { return m_current; }
    bool setCurrentLayer(int index);

    // Adds on top and makes it current; returns its index.
    int addLayer(Layer layer);
    // Inserts at index (0 to layerCount()) and makes it current.
    bool insertLayer(int index, Layer layer);
    // The background layer cannot be removed while it is the only one.
    bool removeLayer(int index);
    // Moves a layer to another index; an index outside the list does nothing.
    bool moveLayer(int from, int to);
    // Merges the upper layer into the lower one (lower < upper): one layer at
    // index lower holds both as the view shows them. Above the background it
    // covers both layers' areas and takes their smaller X and Y; merged into
    // the background it keeps the background's area. It keeps the lower
    // layer's locked, visible box and selectable flags and becomes current;
    // the upper layer goes, with its mask. The caller sets the changed mark.
    bool mergeLayers(int lower, int upper);
    // Replaces every layer but the background (LoadPage's first step).
    void removeUpperLayers();

    int objectCount() const { return static_cast<int>(m_objects.size()); }
    const VectorObject& object(int index) const;
    const std::vector<std::unique_ptr<VectorObject>>& objects() const { return m_objects; }
    void addObject(std::unique_ptr<VectorObject> object);
    bool removeObject(int index);
    void clearObjects();

    // Marks a change the layer and object counts do not show (merging layers).
    bool changedMark() const { return m_changedMark; }
    void setChangedMark(bool changed) { m_changedMark = changed; }

    // The view counts as changed when it has more than one layer, any object,
    // or the changed mark. Edits of the background's own pixels alone do not.
    bool hasChanges() const;

    // All visible layers composited over one another as the view shows them at
    // 100 %, the objects drawn on top, in one ARGB32 image. A layer is drawn
    // at its transparency with its operation (the ones QPainter knows, see
    // Layer), cut by the mask layer right above it when there is one; a
    // magnifying layer shows what lies under it enlarged instead of its image. Its size runs from
    // the left-most / top-most layer edge (the origin when none lies beyond it)
    // to the furthest right and bottom edge of the background and of every
    // layer that is not cropped; uncovered parts are backgroundColor().
    QImage Flatten() const;

    // Flatten() as a page with the given parameters, in the pixel format of
    // the page the stack was made from (fromPage), so that committing a page
    // never changes its kind; a stack made otherwise takes the format the
    // parameters describe.
    Page toPage(const PageParameters& parameters) const;

private:
    // The background layer alone on the view's grey, for magnifiers that
    // look at the background only.
    QImage backgroundOnly(QSize size, QPoint origin) const;
    // Draws layer index (with the mask above it) as Flatten() does, without
    // magnifying.
    void paintLayer(QPainter& painter, size_t index, const QImage& content) const;

    std::vector<Layer> m_layers;
    std::vector<std::unique_ptr<VectorObject>> m_objects;
    int m_current = 0;
    bool m_changedMark = false;
    QImage::Format m_pageFormat = QImage::Format_Invalid;
    // The palette of the page that was loaded, so that a palette page goes
    // back into its own colours.
    QVector<QRgb> m_pageColorTable;
};

// Converts an image (usually a flattened page) to the pixel format the page
// parameters describe: 1 bit per sample gives a black-and-white Format_Mono
// image by a luminance threshold; 8-bit grey gives Format_Grayscale8; a palette
// page gives Format_Indexed8 (in colorTable's colours when given); anything
// else gives Format_RGB32, or Format_ARGB32 with 4 samples per pixel.
QImage ConvertToPixelFormat(const QImage& image, const PageParameters& parameters,
                            const QVector<QRgb>& colorTable = {});
// The same for a page format given directly (Format_Mono, Format_Grayscale8,
// Format_Indexed8, Format_RGB32, Format_ARGB32).
QImage ConvertToPixelFormat(const QImage& image, QImage::Format format,
                            const QVector<QRgb>& colorTable = {});
// The page format that bits per sample, samples per pixel and photometric
// describe.
QImage::Format PixelFormatFor(const PageParameters& parameters);
