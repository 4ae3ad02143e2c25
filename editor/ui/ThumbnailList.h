#pragma once

#include "editor/ui/ThumbnailLook.h"

#include <QListView>

class QMenu;

// The editor's thumbnail list: one column of captioned thumbnails on grey
// (pages, layers, stamps). It shows any model that gives captions in
// Qt::DisplayRole and pictures in Qt::DecorationRole. Entries are only asked
// for when they come into sight, so a model may make its pictures lazily.
class ThumbnailList : public QListView
{
    Q_OBJECT

public:
    explicit ThumbnailList(const ThumbnailLook& look, QWidget* parent = nullptr);

    const ThumbnailLook& look() const { return m_look; }

    // The entry with the focus, or -1.
    int currentRow() const;
    // Rows of all selected entries, ascending.
    QList<int> selectedRows() const;
    // Selects one entry from program code: imageSelected() is not emitted.
    void selectRow(int row);

    void setContextMenu(QMenu* menu) { m_contextMenu = menu; }

signals:
    // The user chose an entry with the mouse or the keyboard.
    void imageSelected(int row);

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void announceChosenRow();

    ThumbnailLook m_look;
    QMenu* m_contextMenu = nullptr; // owned by the window
    // Set while a mouse or key event of the user is handled, so that a change
    // of the current entry can be told apart from one made by program code.
    bool m_userInput = false;
    int m_chosenRow = -1;
};
