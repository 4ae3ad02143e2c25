#include "editor/ui/ThumbnailDelegate.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>

namespace {
QImage PictureOf(const QModelIndex& index)
{
    const QVariant decoration = index.data(Qt::DecorationRole);
    if (decoration.canConvert<QImage>())
        return decoration.value<QImage>();
    if (decoration.canConvert<QPixmap>())
        return decoration.value<QPixmap>().toImage();
    return {};
}

// The picture's rectangle: fitted into the box, proportions kept, centred.
QRect FittedRect(const QSize& picture, const QRect& box)
{
    const QSize fitted = picture.scaled(box.size(), Qt::KeepAspectRatio);
    const QSize shown =
        picture.width() <= box.width() && picture.height() <= box.height() ? picture : fitted;
    QRect rect(QPoint(), shown);
    rect.moveCenter(box.center());
    return rect;
}
} // namespace

ThumbnailDelegate::ThumbnailDelegate(const ThumbnailLook& look, QObject* parent)
    : QStyledItemDelegate(parent), m_look(look)
{
}

QSize ThumbnailDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const
{
    const int frame = ThumbnailLook::kSelectionFrameWidth;
    return {m_look.thumbnailSize.width() + 2 * m_look.sideBorder,
            frame + option.fontMetrics.height() + ThumbnailLook::kCaptionGap +
                m_look.thumbnailSize.height() + frame + ThumbnailLook::kVerticalGap};
}

QRect ThumbnailDelegate::thumbnailBox(const QRect& entry, const QFontMetrics& metrics) const
{
    const int top = entry.top() + ThumbnailLook::kSelectionFrameWidth + metrics.height() +
                    ThumbnailLook::kCaptionGap;
    const int left = entry.left() + (entry.width() - m_look.thumbnailSize.width()) / 2;
    return {QPoint(left, top), m_look.thumbnailSize};
}

void ThumbnailDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const
{
    painter->save();
    const QRect entry = option.rect.adjusted(0, 0, 0, -ThumbnailLook::kVerticalGap);
    const QRect box = thumbnailBox(entry, option.fontMetrics);

    const QRect captionRect(entry.left() + ThumbnailLook::kSelectionFrameWidth,
                            entry.top() + ThumbnailLook::kSelectionFrameWidth,
                            entry.width() - 2 * ThumbnailLook::kSelectionFrameWidth,
                            option.fontMetrics.height());
    const QString caption = index.data(Qt::DisplayRole).toString();
    painter->setPen(ThumbnailLook::captionColor());
    painter->setFont(option.font);
    painter->drawText(captionRect, Qt::AlignCenter,
                      option.fontMetrics.elidedText(caption, Qt::ElideRight, captionRect.width()));

    const QImage picture = PictureOf(index);
    if (!picture.isNull()) {
        const QRect target = FittedRect(picture.size(), box);
        painter->setRenderHint(QPainter::SmoothPixmapTransform, true);
        painter->drawImage(target, picture);
        painter->setPen(ThumbnailLook::borderColor());
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(target.adjusted(-1, -1, 0, 0));
    }

    if (option.state & QStyle::State_Selected) {
        const int width = ThumbnailLook::kSelectionFrameWidth;
        QPen pen(ThumbnailLook::selectionColor(), width);
        pen.setJoinStyle(Qt::MiterJoin);
        painter->setPen(pen);
        painter->setBrush(Qt::NoBrush);
        // A pen of width w is centred on the path: inset by half of it so the
        // whole frame stays inside the entry.
        painter->drawRect(
            QRectF(entry).adjusted(width / 2.0, width / 2.0, -width / 2.0, -width / 2.0));
    }
    painter->restore();
}
