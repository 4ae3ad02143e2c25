#pragma once

#include "app/core/Status.h"
#include "i18n/core/LanguageFile.h"
#include "i18n/core/LocalizedConstants.h"

#include <QObject>

#include <optional>
#include <vector>

// The process's language: the languages the program can show (the built-in
// English and one per language file found), which of them is in force, the
// translations of the language in force and the current texts of the named
// constants. One per process, made on first use; windows listen to
// languageChanged() to re-read their texts.
class LanguageManager : public QObject
{
    Q_OBJECT

public:
    static constexpr int kBuiltInLanguage = 1033;
    static constexpr QLatin1String kLanguageFileMask{"*.lng"};

    static LanguageManager& instance();

    // Registers every language file ("*.lng") of the folder, subfolders not
    // included, in name order; a later file with the same language identifier
    // replaces the earlier one. Replaces what an earlier scan registered.
    void registerLanguageFiles(const QString& folder);

    // The language list: index 0 is the built-in language, then the
    // registered languages in their order.
    int languageCount() const;
    int languageId(int index) const;
    QString languageName(int index) const;
    // The registered file of a language; empty for the built-in one.
    QString languageFile(int languageId) const;

    int currentLanguage() const { return m_current; }
    // Makes a language current; one that is not registered falls back to the
    // built-in language. A language file that cannot be read or parsed leaves
    // the language in force as it was and says why.
    Status setCurrentLanguage(int languageId);
    bool isKnown(int languageId) const;

    // The translation of a window's property ("objectName.text") in the
    // language in force, as written in the file (see LanguageFile::unescape);
    // none for the built-in language or an entry the file does not give.
    std::optional<QString> translation(const QString& section, const QString& name) const;

    const LocalizedConstants& constants() const { return m_constants; }
    LocalizedConstants& constants() { return m_constants; }

Q_SIGNALS:
    void languageChanged(int languageId);

private:
    struct RegisteredLanguage
    {
        int id;
        QString path;
    };

    LanguageManager() = default;
    void applyConstants();

    std::vector<RegisteredLanguage> m_registered;
    int m_current = kBuiltInLanguage;
    LanguageFile m_translations;
    LocalizedConstants m_constants;
};

// The current text of a named constant ("SApplyMessage" ...).
QString LangConst(const QString& name);
