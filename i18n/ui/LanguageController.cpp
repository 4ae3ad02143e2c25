#include "i18n/ui/LanguageController.h"

#include "i18n/core/LanguageFile.h"
#include "i18n/core/LanguageManager.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QDockWidget>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QToolBar>
#include <QWidget>

namespace {

constexpr QLatin1String kItemsProperty("items");
constexpr QLatin1String kTabsProperty("tabs");
constexpr QLatin1String kQtInternalPrefix("qt_");
constexpr QChar kKeySeparator(u'.');
constexpr QChar kAssign(u'=');
constexpr QChar kItemSeparator(u'|');

QStringList comboItems(const QComboBox* box)
{
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}

QStringList tabTexts(const QTabWidget* tabs)
{
    QStringList texts;
    for (int i = 0; i < tabs->count(); ++i)
        texts << tabs->tabText(i);
    return texts;
}

// An action shows its text as tool tip until it is given one of its own;
// only a tool tip of its own is a text to translate.
bool hasOwnToolTip(const QAction* action)
{
    QAction probe;
    probe.setText(action->text());
    return action->toolTip() != probe.toolTip();
}

// The caption-like property of a widget kind, if it has one.
const char* captionProperty(const QObject* object)
{
    if (qobject_cast<const QAbstractButton*>(object) || qobject_cast<const QLabel*>(object) ||
        qobject_cast<const QAction*>(object))
        return "text";
    if (qobject_cast<const QGroupBox*>(object) || qobject_cast<const QMenu*>(object))
        return "title";
    return nullptr;
}

bool hasOwnController(const QObject* object)
{
    for (const QObject* child : object->children()) {
        if (qobject_cast<const LanguageController*>(child))
            return true;
    }
    return false;
}

} // namespace

LanguageController::LanguageController(QWidget* window, QString section, QStringList untranslated)
    : QObject(window), m_section(std::move(section)), m_untranslated(std::move(untranslated))
{
    collectObject(window);
    for (QObject* child : window->children())
        collect(child);
    Retranslate();
    connect(&LanguageManager::instance(), &LanguageManager::languageChanged, this,
            &LanguageController::Retranslate);
}

LanguageController* LanguageController::of(const QWidget* window)
{
    return window ? window->findChild<LanguageController*>(QString(), Qt::FindDirectChildrenOnly)
                  : nullptr;
}

void LanguageController::collect(QObject* object)
{
    if (object == this || hasOwnController(object))
        return;
    collectObject(object);
    for (QObject* child : object->children())
        collect(child);
}

void LanguageController::collectObject(QObject* object)
{
    const QString name = object->objectName();
    if (name.isEmpty() || name.startsWith(kQtInternalPrefix))
        return;
    const auto* widget = qobject_cast<QWidget*>(object);
    const auto* action = qobject_cast<QAction*>(object);
    if (!widget && !action)
        return;

    // Panels and tool bars show their titles in the menu that toggles them.
    if (widget && (widget->isWindow() || qobject_cast<const QDockWidget*>(widget) ||
                   qobject_cast<const QToolBar*>(widget)))
        remember(object, Kind::Property, "windowTitle", {widget->windowTitle()});
    if (const char* caption = captionProperty(object))
        remember(object, Kind::Property, caption, {object->property(caption).toString()});
    if (qobject_cast<QLineEdit*>(object) || qobject_cast<QPlainTextEdit*>(object))
        remember(object, Kind::Property, "placeholderText",
                 {object->property("placeholderText").toString()});
    if (auto* box = qobject_cast<QComboBox*>(object); box && !box->isEditable())
        remember(object, Kind::ComboItems, nullptr, comboItems(box));
    if (auto* tabs = qobject_cast<QTabWidget*>(object))
        remember(object, Kind::TabTexts, nullptr, tabTexts(tabs));
    if (!action || hasOwnToolTip(action))
        remember(object, Kind::Property, "toolTip", {object->property("toolTip").toString()});
    remember(object, Kind::Property, "statusTip", {object->property("statusTip").toString()});
}

void LanguageController::remember(QObject* object, Kind kind, const char* property,
                                  const QStringList& texts)
{
    const bool empty = texts.isEmpty() || (texts.size() == 1 && texts.front().isEmpty());
    if (empty)
        return;
    const QString propertyName = kind == Kind::ComboItems ? QString(kItemsProperty)
                                 : kind == Kind::TabTexts ? QString(kTabsProperty)
                                                          : QString::fromLatin1(property);
    if (isUntranslated(object->objectName(), propertyName))
        return;
    m_texts.push_back({object, kind, QByteArray(property),
                       object->objectName() + kKeySeparator + propertyName, texts, texts});
}

bool LanguageController::isUntranslated(const QString& objectName, const QString& property) const
{
    return m_untranslated.contains(objectName, Qt::CaseInsensitive) ||
           m_untranslated.contains(objectName + kKeySeparator + property, Qt::CaseInsensitive);
}

std::vector<LanguageController::Entry> LanguageController::entries() const
{
    std::vector<Entry> result;
    for (const Text& text : m_texts) {
        const QString builtIn =
            text.kind == Kind::Property ? text.builtIn.front() : text.builtIn.join(kItemSeparator);
        result.push_back({text.key, builtIn});
    }
    return result;
}

QStringList LanguageController::MissingIn(const LanguageFile& file) const
{
    QStringList missing;
    for (const Text& text : m_texts) {
        const std::optional<QString> value = file.value(m_section, text.key);
        const bool complete =
            value && (text.kind == Kind::Property ||
                      LanguageFile::splitItems(*value).size() == text.builtIn.size());
        if (!complete)
            missing << m_section + QStringLiteral(": ") + text.key + kAssign +
                           LanguageFile::joinItems(text.builtIn);
    }
    return missing;
}

void LanguageController::Retranslate()
{
    const LanguageManager& languages = LanguageManager::instance();
    for (Text& text : m_texts) {
        QObject* object = text.object.data();
        if (!object)
            continue;
        const std::optional<QString> raw = languages.translation(m_section, text.key);
        switch (text.kind) {
        case Kind::Property: {
            if (object->property(text.property.constData()).toString() != text.shown.front())
                continue;
            const QString shown = raw ? LanguageFile::unescape(*raw) : text.builtIn.front();
            object->setProperty(text.property.constData(), shown);
            text.shown = QStringList{shown};
            break;
        }
        case Kind::ComboItems:
        case Kind::TabTexts: {
            auto* box = qobject_cast<QComboBox*>(object);
            auto* tabs = qobject_cast<QTabWidget*>(object);
            const QStringList current = box ? comboItems(box) : tabTexts(tabs);
            if (current != text.shown)
                continue;
            const QStringList translated = raw ? LanguageFile::splitItems(*raw) : QStringList();
            QStringList shown = text.builtIn;
            for (int i = 0; i < shown.size() && i < translated.size(); ++i) {
                if (!translated.at(i).isEmpty())
                    shown[i] = translated.at(i);
            }
            for (int i = 0; i < shown.size(); ++i) {
                if (box)
                    box->setItemText(i, shown.at(i));
                else
                    tabs->setTabText(i, shown.at(i));
            }
            text.shown = shown;
            break;
        }
        }
    }
}
