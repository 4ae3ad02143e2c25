#pragma once

#include <QColor>
#include <QSize>

// How one of the editor's thumbnail lists looks. The three lists (pages,
// layers, stamps) share the drawing and differ only in these values.
struct ThumbnailLook
{
    // Box the thumbnail is fitted into, keeping its proportions.
    QSize thumbnailSize;
    // Free space left and right of the thumbnail.
    int sideBorder = 6;
    bool multiSelect = false;

    static constexpr int kSelectionFrameWidth = 3;
    static constexpr int kCaptionGap = 2;
    static constexpr int kVerticalGap = 6;

    static QColor background() { return Qt::gray; }
    static QColor captionColor() { return Qt::white; }
    static QColor selectionColor() { return Qt::red; }
    static QColor borderColor() { return Qt::black; }

    // The three lists of the editor window.
    static ThumbnailLook pages() { return {QSize(170, 170), 6, false}; }
    static ThumbnailLook layers() { return {QSize(100, 100), 18, true}; }
    static ThumbnailLook stamps() { return {QSize(170, 100), 6, true}; }
};
