#include "editor/ui/EditorActions.h"

#include "editor/ui/EditorActionTable.h"

#include <QAction>
#include <QKeySequence>
#include <QWidget>
#include <QtDebug>

namespace {
const char* const kCategoryProperty = "category";

QString LookUp(const EditorActions::TextLookup& lookup, const QString& key, const QString& builtIn)
{
    return lookup ? lookup(key, builtIn) : builtIn;
}
} // namespace

EditorActions::EditorActions(QWidget* window) : QObject(window)
{
    for (const EditorActionEntry& entry : EditorActionTable()) {
        auto* action = new QAction(window);
        action->setObjectName(QString::fromLatin1(entry.name));
        action->setProperty(kCategoryProperty, QString::fromLatin1(entry.category));
        if (*entry.shortcut)
            action->setShortcut(QKeySequence(QString::fromLatin1(entry.shortcut)));
        if (entry.flags & (EditorActionEntry::AutoCheck | EditorActionEntry::Checked))
            action->setCheckable(true);
        action->setChecked(entry.flags & EditorActionEntry::Checked);
        action->setVisible(!(entry.flags & EditorActionEntry::Hidden));
        window->addAction(action);
        m_byName.insert(action->objectName(), action);
        m_ordered.append(action);
    }
    retranslate();
}

QAction* EditorActions::action(const QString& name) const
{
    QAction* found = m_byName.value(name);
    if (!found)
        qWarning() << "EditorActions: no action named" << name;
    return found;
}

void EditorActions::retranslate(const TextLookup& lookup)
{
    for (const EditorActionEntry& entry : EditorActionTable()) {
        QAction* action = m_byName.value(QString::fromLatin1(entry.name));
        const QString name = action->objectName();
        const QString caption =
            LookUp(lookup, name + QLatin1String(".Caption"), QString::fromUtf8(entry.caption));
        const QString hint =
            LookUp(lookup, name + QLatin1String(".Hint"), QString::fromUtf8(entry.hint));
        action->setText(caption);
        // An empty hint lets the tooltip fall back to the caption.
        action->setToolTip(hint);
        action->setStatusTip(hint);
    }
}
