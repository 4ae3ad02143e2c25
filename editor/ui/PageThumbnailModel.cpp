#include "editor/ui/PageThumbnailModel.h"

#include "editor/core/PageList.h"
#include "editor/ui/ThumbnailImage.h"

PageThumbnailModel::PageThumbnailModel(const PageList& pages, const QSize& thumbnailBox,
                                       QObject* parent)
    : QAbstractListModel(parent), m_pages(pages), m_box(thumbnailBox),
      m_entries(static_cast<size_t>(pages.count()))
{
    connect(&pages, &PageList::pagesInserted, this, &PageThumbnailModel::onPagesInserted);
    connect(&pages, &PageList::pageRemoved, this, &PageThumbnailModel::onPageRemoved);
    connect(&pages, &PageList::pageChanged, this, &PageThumbnailModel::onPageChanged);
    connect(&pages, &PageList::pagesMoved, this, &PageThumbnailModel::onPagesMoved);
    connect(&pages, &PageList::pagesReset, this, &PageThumbnailModel::onPagesReset);
}

int PageThumbnailModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_entries.size());
}

QVariant PageThumbnailModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || !m_pages.isValidIndex(index.row()))
        return {};
    Entry& entry = m_entries[static_cast<size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return entry.caption;
    case Qt::DecorationRole:
        if (entry.thumbnail.isNull())
            entry.thumbnail = MakeThumbnail(m_pages.page(index.row()).image(), m_box);
        return entry.thumbnail;
    case Qt::SizeHintRole:
        return m_box;
    default:
        return {};
    }
}

QString PageThumbnailModel::caption(int row) const
{
    if (row < 0 || row >= rowCount())
        return {};
    return m_entries[static_cast<size_t>(row)].caption;
}

void PageThumbnailModel::setCaption(int row, const QString& caption)
{
    if (row < 0 || row >= rowCount())
        return;
    m_entries[static_cast<size_t>(row)].caption = caption;
    const QModelIndex changed = index(row);
    emit dataChanged(changed, changed, {Qt::DisplayRole});
}

int PageThumbnailModel::madeThumbnailCount() const
{
    int made = 0;
    for (const Entry& entry : m_entries)
        made += entry.thumbnail.isNull() ? 0 : 1;
    return made;
}

void PageThumbnailModel::onPagesInserted(int first, int count)
{
    if (count <= 0)
        return;
    beginInsertRows(QModelIndex(), first, first + count - 1);
    m_entries.insert(m_entries.begin() + first, static_cast<size_t>(count), Entry());
    endInsertRows();
}

void PageThumbnailModel::onPageRemoved(int index)
{
    if (index < 0 || index >= rowCount())
        return;
    beginRemoveRows(QModelIndex(), index, index);
    m_entries.erase(m_entries.begin() + index);
    endRemoveRows();
}

void PageThumbnailModel::onPageChanged(int row)
{
    if (row < 0 || row >= rowCount())
        return;
    m_entries[static_cast<size_t>(row)].thumbnail = QImage();
    const QModelIndex changed = index(row);
    emit dataChanged(changed, changed, {Qt::DecorationRole});
}

void PageThumbnailModel::onPagesMoved(int from, int to)
{
    if (from == to || from < 0 || to < 0 || from >= rowCount() || to >= rowCount())
        return;
    // Qt counts the destination before the move, PageList after it.
    const int destination = to > from ? to + 1 : to;
    beginMoveRows(QModelIndex(), from, from, QModelIndex(), destination);
    Entry moved = std::move(m_entries[static_cast<size_t>(from)]);
    m_entries.erase(m_entries.begin() + from);
    m_entries.insert(m_entries.begin() + to, std::move(moved));
    endMoveRows();
}

void PageThumbnailModel::onPagesReset()
{
    beginResetModel();
    m_entries.assign(static_cast<size_t>(m_pages.count()), Entry());
    endResetModel();
}
