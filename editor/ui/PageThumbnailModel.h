#pragma once

#include <QAbstractListModel>
#include <QImage>
#include <QSize>
#include <QString>

#include <vector>

class PageList;

// Shows a document's PageList in a thumbnail list. It follows the list's
// signals and makes a page's thumbnail only when the view first asks for it,
// so opening a long document costs nothing until its pages come into sight.
// Captions belong to the entries, not to the pages: they are written by
// LabelPages and stay with their entry when others are inserted or removed.
class PageThumbnailModel : public QAbstractListModel
{
    Q_OBJECT

public:
    PageThumbnailModel(const PageList& pages, const QSize& thumbnailBox, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    QString caption(int row) const;
    void setCaption(int row, const QString& caption);

    // Thumbnails made so far (for tests and memory checks).
    int madeThumbnailCount() const;

private:
    struct Entry
    {
        QString caption;
        // Null until the view first shows the entry, and again after a change.
        QImage thumbnail;
    };

    void onPagesInserted(int first, int count);
    void onPageRemoved(int index);
    void onPageChanged(int index);
    void onPagesMoved(int from, int to);
    void onPagesReset();

    const PageList& m_pages;
    QSize m_box;
    // Thumbnails are made inside data(), which Qt declares const.
    mutable std::vector<Entry> m_entries;
};
