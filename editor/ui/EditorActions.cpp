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
    for (const EditorActionSpec& spec : EditorActionTable()) {
        auto* action = new QAction(window);
        action->setObjectName(QString::fromLatin1(spec.name));
        action->setProperty(kCategoryProperty, QString::fromLatin1(spec.category));
        if (*spec.shortcut)
            action->setShortcut(QKeySequence(QString::fromLatin1(spec.shortcut)));
        if (spec.flags & (EditorActionSpec::AutoCheck | EditorActionSpec::Checked))
            action->setCheckable(true);
        action->setChecked(spec.flags & EditorActionSpec::Checked);
        action->setVisible(!(spec.flags & EditorActionSpec::Hidden));
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
    for (const EditorActionSpec& spec : EditorActionTable()) {
        QAction* action = m_byName.value(QString::fromLatin1(spec.name));
        const QString name = action->objectName();
        const QString caption =
            LookUp(lookup, name + QLatin1String(".Caption"), QString::fromUtf8(spec.caption));
        const QString hint =
            LookUp(lookup, name + QLatin1String(".Hint"), QString::fromUtf8(spec.hint));
        action->setText(caption);
        // An empty hint lets the tooltip fall back to the caption.
        action->setToolTip(hint);
        action->setStatusTip(hint);
    }
}
