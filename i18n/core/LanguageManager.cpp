#include "i18n/core/LanguageManager.h"

#include "i18n/core/LanguageNames.h"

#include <QDir>
#include <QFile>

#include <algorithm>

namespace {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

LanguageManager& LanguageManager::instance()
{
    static LanguageManager manager;
    return manager;
}

void LanguageManager::registerLanguageFiles(const QString& folder)
{
    m_registered.clear();
    const QDir dir(folder);
    const QStringList files =
        dir.entryList({kLanguageFileMask}, QDir::Files | QDir::Readable, QDir::Name);
    for (const QString& fileName : files) {
        const QString path = dir.filePath(fileName);
        const int id = LanguageFile::readLanguageId(readAll(path));
        // No identifier: not a language file. The built-in language cannot
        // be replaced by a file.
        if (id == 0 || id == kBuiltInLanguage)
            continue;
        auto same = std::find_if(m_registered.begin(), m_registered.end(),
                                 [id](const RegisteredLanguage& entry) { return entry.id == id; });
        if (same != m_registered.end())
            same->path = path;
        else
            m_registered.push_back({id, path});
    }
}

int LanguageManager::languageCount() const
{
    return static_cast<int>(m_registered.size()) + 1;
}

int LanguageManager::languageId(int index) const
{
    if (index <= 0 || index >= languageCount())
        return kBuiltInLanguage;
    return m_registered.at(static_cast<std::size_t>(index - 1)).id;
}

QString LanguageManager::languageName(int index) const
{
    return LanguageNames::displayName(languageId(index), m_current);
}

QString LanguageManager::languageFile(int languageId) const
{
    for (const RegisteredLanguage& entry : m_registered) {
        if (entry.id == languageId)
            return entry.path;
    }
    return QString();
}

bool LanguageManager::isKnown(int languageId) const
{
    return languageId == kBuiltInLanguage || !languageFile(languageId).isEmpty();
}

Status LanguageManager::setCurrentLanguage(int languageId)
{
    const int target = isKnown(languageId) ? languageId : kBuiltInLanguage;
    if (target == m_current)
        return Status::success();
    LanguageFile translations;
    if (target != kBuiltInLanguage) {
        Result<LanguageFile> loaded = LanguageFile::load(languageFile(target));
        if (!loaded.ok())
            return loaded.status();
        translations = std::move(loaded).value();
    }
    m_current = target;
    m_translations = std::move(translations);
    applyConstants();
    Q_EMIT languageChanged(m_current);
    return Status::success();
}

void LanguageManager::applyConstants()
{
    // A constant the language does not translate shows its English text
    // rather than the text of the language that was in force before.
    m_constants.restoreBuiltIn();
    const QString section = LanguageFile::kConstantsSection;
    for (const QString& name : m_translations.names(section))
        m_constants.setText(name, LanguageFile::unescape(*m_translations.value(section, name)));
}

std::optional<QString> LanguageManager::translation(const QString& section,
                                                    const QString& name) const
{
    if (m_current == kBuiltInLanguage)
        return std::nullopt;
    return m_translations.value(section, name);
}

QString LangConst(const QString& name)
{
    return LanguageManager::instance().constants().text(name);
}
