#pragma once

#include "app/core/Status.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// An INI document kept as its lines, so that a save can change the values it
// knows and leave everything else (comments, unknown keys, blank lines, the
// spelling of section headers) exactly as the user or an older version wrote it.
//
// Sections and keys are found without regard to case; when a section or a key
// occurs more than once, the first occurrence counts for reading and writing.
// Lines that begin with ";" are comments; key lines before the first section
// header belong to no section and are never read.
//
// Two kinds of source differ in how a value is read:
// - a settings file: blanks around the value and quotes (single or double)
//   enclosing the whole value are dropped, and a string is cut after
//   kMaxFileValueLength characters;
// - imported text: the value is only trimmed.
class IniFile
{
public:
    // Longest string value taken from a settings file.
    static constexpr int kMaxFileValueLength = 2047;

    enum class Kind { SettingsFile, ImportedText };

    // An empty settings file.
    IniFile() = default;

    // Reads the file at path. A missing file gives an empty document; a path
    // that exists but cannot be read (a folder, no permission) is a failure.
    static Result<IniFile> fromFile(const QString& path);
    // Reads pasted or loaded configuration text, one INI line per entry.
    static IniFile fromLines(const QStringList& lines);
    // Reads UTF-8 settings-file text.
    static IniFile fromText(const QByteArray& utf8);

    QString readString(const QString& section, const QString& key,
                       const QString& defaultValue) const;
    // Decimal, or hexadecimal after "$" or "0x"; anything else gives the default.
    qint32 readInteger(const QString& section, const QString& key, qint32 defaultValue) const;
    // An integer that is true when not 0.
    bool readBool(const QString& section, const QString& key, bool defaultValue) const;

    // Sets a value in place: an existing key keeps its line, a missing key is
    // added after the last key of its section, a missing section at the end.
    void writeString(const QString& section, const QString& key, const QString& value);
    void writeInteger(const QString& section, const QString& key, qint32 value);
    void writeBool(const QString& section, const QString& key, bool value);

    // The whole document as it would be stored.
    QByteArray toUtf8() const;

    // Reads one integer text by the rules of readInteger; false when it is not one.
    static bool parseInteger(const QString& text, qint32* value);

private:
    struct Range
    {
        int header = -1; // line of the section header
        int end = -1;    // one past the section's last line
    };

    Range findSection(const QString& section) const;
    int findKeyLine(const Range& range, const QString& key) const;
    QString rawValue(const QString& section, const QString& key, bool* found) const;

    Kind m_kind = Kind::SettingsFile;
    QStringList m_lines;
    QString m_lineBreak = QStringLiteral("\n");
    bool m_byteOrderMark = false;
};
