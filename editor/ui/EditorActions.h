#pragma once

#include <QHash>
#include <QObject>
#include <QString>

#include <functional>

class QAction;
class QWidget;

// The QActions of one editor window, made from EditorActionTable(). They are
// children of the window and added to it, so their shortcuts work wherever
// the focus is inside the window.
class EditorActions : public QObject
{
    Q_OBJECT

public:
    // Gives the text to show for a key such as "acFileOpen.Caption" or
    // "acFileOpen.Hint"; builtIn is the table's text. A language file hooks in
    // here; without one the built-in text stands.
    using TextLookup = std::function<QString(const QString& key, const QString& builtIn)>;

    explicit EditorActions(QWidget* window);

    // The action of that name; a name that is not in the table is a
    // programming error and gives a null pointer (with a warning).
    QAction* action(const QString& name) const;
    QList<QAction*> all() const { return m_ordered; }

    // Sets every caption and hint (again), for example after a language switch.
    void retranslate(const TextLookup& lookup = nullptr);

private:
    QHash<QString, QAction*> m_byName;
    QList<QAction*> m_ordered;
};
