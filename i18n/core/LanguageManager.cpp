#include "i18n/core/LanguageManager.h"

LanguageManager& LanguageManager::instance()
{
    static LanguageManager manager;
    return manager;
}

bool LanguageManager::isKnown(int languageId) const
{
    return languageId == kBuiltInLanguage;
}

void LanguageManager::setCurrentLanguage(int languageId)
{
    const int target = isKnown(languageId) ? languageId : kBuiltInLanguage;
    if (target == m_current)
        return;
    m_current = target;
    if (target == kBuiltInLanguage)
        m_constants.restoreBuiltIn();
    Q_EMIT languageChanged(m_current);
}

QString LangConst(const QString& name)
{
    return LanguageManager::instance().constants().text(name);
}
