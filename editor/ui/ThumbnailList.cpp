#include "editor/ui/ThumbnailList.h"

#include "editor/ui/ThumbnailDelegate.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QScrollBar>

namespace {
// Sets a flag for the lifetime of the guard.
class FlagGuard
{
public:
    explicit FlagGuard(bool& flag) : m_flag(flag) { m_flag = true; }
    ~FlagGuard() { m_flag = false; }
    FlagGuard(const FlagGuard&) = delete;
    FlagGuard& operator=(const FlagGuard&) = delete;

private:
    bool& m_flag;
};
} // namespace

ThumbnailList::ThumbnailList(const ThumbnailLook& look, QWidget* parent)
    : QListView(parent), m_look(look)
{
    setItemDelegate(new ThumbnailDelegate(look, this));
    setViewMode(QListView::ListMode);
    setFlow(QListView::TopToBottom);
    setWrapping(false);
    setMovement(QListView::Static);
    setResizeMode(QListView::Adjust);
    // Every entry has the same size, which lets the view ask only the entries
    // in sight for their pictures.
    setUniformItemSizes(true);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setSelectionMode(look.multiSelect ? QAbstractItemView::ExtendedSelection
                                      : QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setFrameShape(QFrame::NoFrame);

    QPalette colours = palette();
    colours.setColor(QPalette::Base, ThumbnailLook::background());
    colours.setColor(QPalette::Window, ThumbnailLook::background());
    setPalette(colours);
    setAutoFillBackground(true);

    const int frame = ThumbnailLook::kSelectionFrameWidth;
    setMinimumWidth(look.thumbnailSize.width() + 2 * look.sideBorder + frame +
                    verticalScrollBar()->sizeHint().width());
}

int ThumbnailList::currentRow() const
{
    const QModelIndex index = currentIndex();
    return index.isValid() ? index.row() : -1;
}

QList<int> ThumbnailList::selectedRows() const
{
    QList<int> rows;
    if (!selectionModel())
        return rows;
    for (const QModelIndex& index : selectionModel()->selectedIndexes())
        rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void ThumbnailList::selectRow(int row)
{
    if (!model() || !selectionModel())
        return;
    const QModelIndex index = model()->index(row, 0);
    if (!index.isValid()) {
        selectionModel()->clear();
        return;
    }
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    scrollTo(index);
}

void ThumbnailList::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QListView::currentChanged(current, previous);
    if (m_userInput && current.isValid())
        m_chosenRow = current.row();
}

void ThumbnailList::mousePressEvent(QMouseEvent* event)
{
    {
        FlagGuard user(m_userInput);
        QListView::mousePressEvent(event);
    }
    announceChosenRow();
}

void ThumbnailList::keyPressEvent(QKeyEvent* event)
{
    {
        FlagGuard user(m_userInput);
        QListView::keyPressEvent(event);
    }
    announceChosenRow();
}

void ThumbnailList::announceChosenRow()
{
    // Announced only once the list has finished its own handling of the
    // event: a listener may ask a question and put the selection back, which
    // the list must not overwrite afterwards.
    const int row = m_chosenRow;
    m_chosenRow = -1;
    if (row >= 0)
        emit imageSelected(row);
}

void ThumbnailList::contextMenuEvent(QContextMenuEvent* event)
{
    if (!m_contextMenu) {
        QListView::contextMenuEvent(event);
        return;
    }
    m_contextMenu->popup(event->globalPos());
    event->accept();
}
