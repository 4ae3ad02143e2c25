#include "i18n/ui/QtDialogTranslator.h"

#include "i18n/core/LanguageManager.h"
#include "i18n/core/LanguageNames.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace {

constexpr QLatin1String kQtCatalogue("qtbase");
constexpr QLatin1String kCatalogueSeparator("_");

} // namespace

QtDialogTranslator::QtDialogTranslator(QObject* parent) : QObject(parent)
{
    LanguageManager& languages = LanguageManager::instance();
    connect(&languages, &LanguageManager::languageChanged, this, &QtDialogTranslator::follow);
    follow(languages.currentLanguage());
}

QtDialogTranslator::~QtDialogTranslator()
{
    if (m_translator)
        QCoreApplication::removeTranslator(m_translator.get());
}

void QtDialogTranslator::follow(int languageId)
{
    if (m_translator) {
        QCoreApplication::removeTranslator(m_translator.get());
        m_translator.reset();
    }
    // Qt's texts are English already.
    if (languageId == LanguageManager::kBuiltInLanguage)
        return;
    const QLocale locale(LanguageNames::localeName(languageId));
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(locale, kQtCatalogue, kCatalogueSeparator,
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return;
    QCoreApplication::installTranslator(translator.get());
    m_translator = std::move(translator);
}
