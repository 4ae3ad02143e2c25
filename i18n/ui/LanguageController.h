#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>

#include <vector>

class LanguageFile;
class QWidget;

// Keeps one window in the language in force. At attach time it walks the
// window's named widgets and actions and remembers every text it finds
// (captions, titles, hints, list items) as the built-in English text; then it
// shows the language in force, and again whenever the language changes.
//
// The texts come from the window's section of the language file, one entry
// per property: "objectName.property=text", a list as "objectName.items=a|b|c"
// (see lang/README.md). A text the program has changed since it was last
// translated belongs to the program and is left alone.
class LanguageController : public QObject
{
    Q_OBJECT

public:
    struct Entry
    {
        QString key; // "objectName.property"
        QString builtIn;
    };

    // Owned by the window. `untranslated` names objects ("Edit2") or single
    // properties ("Edit2.text") that are never translated. A child window
    // with a controller of its own is left to that controller.
    LanguageController(QWidget* window, QString section, QStringList untranslated = {});

    const QString& section() const { return m_section; }
    // Every text looked after, with its built-in text, in window order.
    std::vector<Entry> entries() const;

    // The entries a language file leaves out for this window, as
    // "section: key=built-in text" lines; a list value must give every item.
    QStringList MissingIn(const LanguageFile& file) const;

    // Shows the texts of the language in force.
    void Retranslate();

    // The controller of a window, when it has one.
    static LanguageController* of(const QWidget* window);

private:
    enum class Kind { Property, ComboItems, TabTexts };

    struct Text
    {
        QPointer<QObject> object;
        Kind kind;
        QByteArray property; // for Kind::Property
        QString key;
        QStringList builtIn;
        QStringList shown; // what this controller last put there
    };

    void collect(QObject* object);
    void collectObject(QObject* object);
    void remember(QObject* object, Kind kind, const char* property, const QStringList& texts);
    bool isUntranslated(const QString& objectName, const QString& property) const;

    QString m_section;
    QStringList m_untranslated;
    std::vector<Text> m_texts;
};
