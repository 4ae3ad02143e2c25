#pragma once

#include "app/core/Status.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// One language file: parameter lines (LANGID ...) before the first section,
// then sections of "name=value" lines. "$CONSTANTS" holds the message texts,
// every other section the texts of one window. Names of sections and entries
// are matched without regard to case; the first occurrence counts.
class LanguageFile
{
public:
    static constexpr QLatin1String kConstantsSection{"$CONSTANTS"};
    static constexpr QLatin1String kLanguageIdParameter{"LANGID"};

    LanguageFile() = default;

    // Reads and parses a file; the failure text names the line that could
    // not be understood.
    static Result<LanguageFile> load(const QString& path);
    static Result<LanguageFile> parse(const QString& text);

    // The language identifier a file declares, read from its parameter lines
    // only (the rest of a file is parsed when the language is applied); 0
    // when it is missing, not a number or out of range.
    static int readLanguageId(const QByteArray& bytes);

    // Files are UTF-8; a file that is not valid UTF-8 was written in the
    // ANSI code page of its language (windows-1251 for Russian).
    static QString decode(const QByteArray& bytes);

    // Values may hold "\n" for a line break, "\|" for a "|" inside a list
    // item and "\\" for a backslash.
    static QString unescape(const QString& value);
    // A list value: items separated by "|", each unescaped.
    static QStringList splitItems(const QString& value);
    // The way back: a text as a value, and items as a list value.
    static QString escape(const QString& text);
    static QString joinItems(const QStringList& items);

    int languageId() const;
    QString parameter(const QString& name) const;
    // The raw value of an entry, before unescaping.
    std::optional<QString> value(const QString& section, const QString& name) const;
    // The entry names of a section, in file order.
    QStringList names(const QString& section) const;

private:
    struct Entry
    {
        QString name;
        QString value;
    };
    struct Section
    {
        QString name;
        std::vector<Entry> entries;
    };

    const Section* findSection(const QString& name) const;

    std::vector<Entry> m_parameters;
    std::vector<Section> m_sections;
};
