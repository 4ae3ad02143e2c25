#pragma once

#include "i18n/core/LocalizedConstants.h"

#include <QObject>

// The process's language: which language is in force and the current texts of
// the named constants. One per process, made on first use; windows listen to
// languageChanged() to re-read their texts.
class LanguageManager : public QObject
{
    Q_OBJECT

public:
    static constexpr int kBuiltInLanguage = 1033;

    static LanguageManager& instance();

    int currentLanguage() const { return m_current; }
    // Makes a language current; one that is not known falls back to the
    // built-in language.
    void setCurrentLanguage(int languageId);
    bool isKnown(int languageId) const;

    const LocalizedConstants& constants() const { return m_constants; }
    LocalizedConstants& constants() { return m_constants; }

Q_SIGNALS:
    void languageChanged(int languageId);

private:
    LanguageManager() = default;

    int m_current = kBuiltInLanguage;
    LocalizedConstants m_constants;
};

// The current text of a named constant ("SApplyMessage" ...).
QString LangConst(const QString& name);
