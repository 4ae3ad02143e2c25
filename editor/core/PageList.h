#pragma once

#include "editor/core/Page.h"

#include <QObject>
#include <QString>

#include <vector>

// The ordered pages of one document (the page list `imvDoc` shows them as
// thumbnails). Indexes are 0-based. Every change is announced by a signal so
// that the thumbnail list and anything else can follow without polling.
class PageList : public QObject
{
    Q_OBJECT

public:
    explicit PageList(QObject* parent = nullptr);

    int count() const { return static_cast<int>(m_pages.size()); }
    bool isEmpty() const { return m_pages.empty(); }
    bool isValidIndex(int index) const { return index >= 0 && index < count(); }
    // index must be valid.
    const Page& page(int index) const;
    const std::vector<Page>& pages() const { return m_pages; }

    void append(Page page);
    void append(std::vector<Page> pages);
    // index from 0 to count(); count() appends.
    void insert(int index, Page page);
    void insert(int index, std::vector<Page> pages);
    // Out-of-range indexes are ignored (returns false).
    bool remove(int index);
    // Moves the page at from so that it ends at index to.
    bool move(int from, int to);
    // The page as given: one that still holds the strips it was read from
    // keeps them only because they show exactly its pixels (see Page).
    bool replace(int index, Page page);
    // New pixels for a page; its parameters stay (bit depth follows the image).
    // The page no longer offers the strips it was read from.
    bool replaceImage(int index, QImage image);
    // Other parameters than the page had also let its stored strips go.
    bool setParameters(int index, PageParameters parameters);
    // The whole document at once (open, start-up load).
    void reset(std::vector<Page> pages);
    void clear();

signals:
    void pagesInserted(int first, int count);
    void pageRemoved(int index);
    void pageChanged(int index);
    void pagesMoved(int from, int to);
    // Everything changed: re-read the whole list.
    void pagesReset();

private:
    std::vector<Page> m_pages;
};

// Caption of a page thumbnail: the localized word for "Page", a space and the
// 1-based page number ("Page 1" for index 0).
QString PageCaption(int index, const QString& pageWord);
