#pragma once

#include <QString>
#include <QStringList>

#include <vector>

// The named message texts of the program. Each has a built-in English text
// and a current text that follows the language in force; every message box
// asks for the current text at the moment it is shown.
class LocalizedConstants
{
public:
    struct Entry
    {
        const char* name;
        const char* english;
    };

    LocalizedConstants();

    // The 25 constants with their built-in English texts, in table order.
    static const std::vector<Entry>& builtIn();

    bool contains(const QString& name) const;
    // The current text of a constant, found without regard to case. An
    // unknown name is a programming error: the text says which name it was.
    QString text(const QString& name) const;

    // Replaces the current text of a known constant; unknown names are
    // ignored (a language file may carry constants of another version).
    void setText(const QString& name, const QString& text);
    void restoreBuiltIn();

private:
    int indexOf(const QString& name) const;

    QStringList m_current;
};
