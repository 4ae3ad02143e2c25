#pragma once

#include "editor/ui/ThumbnailLook.h"

#include <QStyledItemDelegate>

// Draws one thumbnail entry: the caption in white above the picture, the
// picture fitted into the thumbnail box with a black border, and a red frame
// around a selected entry. Captions come from Qt::DisplayRole, pictures (QImage
// or QPixmap) from Qt::DecorationRole.
class ThumbnailDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit ThumbnailDelegate(const ThumbnailLook& look, QObject* parent = nullptr);

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

    // The rectangle the picture box takes inside an entry's rectangle.
    QRect thumbnailBox(const QRect& entry, const QFontMetrics& metrics) const;

private:
    ThumbnailLook m_look;
};
