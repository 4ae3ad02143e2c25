#include "editor/core/PageList.h"

#include <iterator>

PageList::PageList(QObject* parent) : QObject(parent) {}

const Page& PageList::page(int index) const
{
    Q_ASSERT(isValidIndex(index));
    return m_pages[static_cast<size_t>(index)];
}

void PageList::append(Page page)
{
    insert(count(), std::move(page));
}

void PageList::append(std::vector<Page> pages)
{
    insert(count(), std::move(pages));
}

void PageList::insert(int index, Page page)
{
    std::vector<Page> pages;
    pages.push_back(std::move(page));
    insert(index, std::move(pages));
}

void PageList::insert(int index, std::vector<Page> pages)
{
    if (pages.empty())
        return;
    const int first = qBound(0, index, count());
    const int added = static_cast<int>(pages.size());
    m_pages.insert(m_pages.begin() + first, std::make_move_iterator(pages.begin()),
                   std::make_move_iterator(pages.end()));
    emit pagesInserted(first, added);
}

bool PageList::remove(int index)
{
    if (!isValidIndex(index))
        return false;
    m_pages.erase(m_pages.begin() + index);
    emit pageRemoved(index);
    return true;
}

bool PageList::move(int from, int to)
{
    if (!isValidIndex(from) || !isValidIndex(to))
        return false;
    if (from == to)
        return true;
    Page moving = std::move(m_pages[static_cast<size_t>(from)]);
    m_pages.erase(m_pages.begin() + from);
    m_pages.insert(m_pages.begin() + to, std::move(moving));
    emit pagesMoved(from, to);
    return true;
}

bool PageList::replace(int index, Page page)
{
    if (!isValidIndex(index))
        return false;
    m_pages[static_cast<size_t>(index)] = std::move(page);
    emit pageChanged(index);
    return true;
}

bool PageList::replaceImage(int index, QImage image)
{
    if (!isValidIndex(index))
        return false;
    m_pages[static_cast<size_t>(index)].setImage(std::move(image));
    emit pageChanged(index);
    return true;
}

bool PageList::setParameters(int index, PageParameters parameters)
{
    if (!isValidIndex(index))
        return false;
    m_pages[static_cast<size_t>(index)].setParameters(std::move(parameters));
    emit pageChanged(index);
    return true;
}

void PageList::reset(std::vector<Page> pages)
{
    m_pages = std::move(pages);
    emit pagesReset();
}

void PageList::clear()
{
    reset({});
}

QString PageCaption(int index, const QString& pageWord)
{
    return pageWord + QLatin1Char(' ') + QString::number(index + 1);
}
