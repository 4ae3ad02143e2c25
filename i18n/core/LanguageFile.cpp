#include "i18n/core/LanguageFile.h"

#include "i18n/core/LanguageNames.h"
#include "i18n/core/Utf8Text.h"

#include <QFile>

namespace {

constexpr QChar kCommentMark(u';');
constexpr QChar kSectionOpen(u'[');
constexpr QChar kSectionClose(u']');
constexpr QChar kAssign(u'=');
constexpr QChar kEscape(u'\\');
constexpr QChar kItemSeparator(u'|');
constexpr int kMaxLanguageId = 0xFFFF;

Status parseFailure(int lineNumber, const QString& reason)
{
    return Status::failure(
        QStringLiteral("Loading translations failed.\r\nLine %1: %2").arg(lineNumber).arg(reason));
}

QStringList textLines(const QString& text)
{
    QString normalized = text;
    normalized.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    normalized.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return normalized.split(QLatin1Char('\n'));
}

bool isSkipped(const QString& line)
{
    return line.isEmpty() || line.startsWith(kCommentMark);
}

} // namespace

Result<LanguageFile> LanguageFile::load(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Status::failure(
            QStringLiteral("Cannot open file \"%1\". %2").arg(path, file.errorString()));
    return parse(decode(file.readAll()));
}

Result<LanguageFile> LanguageFile::parse(const QString& text)
{
    LanguageFile result;
    Section* section = nullptr;
    const QStringList lines = textLines(text);
    for (int i = 0; i < lines.size(); ++i) {
        const int lineNumber = i + 1;
        QString line = lines.at(i).trimmed();
        if (i == 0 && line.startsWith(QChar(0xFEFF)))
            line = line.mid(1).trimmed();
        if (isSkipped(line))
            continue;
        if (line.startsWith(kSectionOpen)) {
            if (!line.endsWith(kSectionClose))
                return parseFailure(lineNumber, QStringLiteral("\"]\" expected"));
            result.m_sections.push_back({line.mid(1, line.size() - 2).trimmed(), {}});
            section = &result.m_sections.back();
            continue;
        }
        const int assign = line.indexOf(kAssign);
        if (assign < 0)
            return parseFailure(lineNumber, QStringLiteral("\"=\" expected"));
        const QString name = line.left(assign).trimmed();
        if (name.isEmpty())
            return parseFailure(lineNumber, QStringLiteral("Entry name expected"));
        Entry entry{name, line.mid(assign + 1).trimmed()};
        (section ? section->entries : result.m_parameters).push_back(std::move(entry));
    }
    return result;
}

int LanguageFile::readLanguageId(const QByteArray& bytes)
{
    // The parameters are ASCII in every encoding a language file may have.
    const QStringList lines = textLines(QString::fromLatin1(bytes));
    for (QString line : lines) {
        line = line.trimmed();
        if (line.startsWith(QLatin1String("\xEF\xBB\xBF")))
            line = line.mid(3);
        if (line.startsWith(kSectionOpen))
            break;
        if (isSkipped(line))
            continue;
        const int assign = line.indexOf(kAssign);
        if (assign < 0 ||
            line.left(assign).trimmed().compare(kLanguageIdParameter, Qt::CaseInsensitive) != 0)
            continue;
        bool ok = false;
        const int id = line.mid(assign + 1).trimmed().toInt(&ok);
        return ok && id > 0 && id <= kMaxLanguageId ? id : 0;
    }
    return 0;
}

QString LanguageFile::decode(const QByteArray& bytes)
{
    if (const auto text = Utf8Text::decodeStrict(bytes))
        return *text;
    return LanguageNames::decodeAnsi(bytes, readLanguageId(bytes));
}

QString LanguageFile::unescape(const QString& value)
{
    QString result;
    result.reserve(value.size());
    for (int i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c != kEscape || i + 1 == value.size()) {
            result += c;
            continue;
        }
        const QChar next = value.at(++i);
        if (next == u'n')
            result += QLatin1Char('\n');
        else if (next == kEscape || next == kItemSeparator)
            result += next;
        else // not an escape: kept as written
            result += QString(c) + next;
    }
    return result;
}

QStringList LanguageFile::splitItems(const QString& value)
{
    QStringList items;
    QString current;
    for (int i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c == kEscape && i + 1 < value.size()) {
            current += c;
            current += value.at(++i);
        } else if (c == kItemSeparator) {
            items << unescape(current);
            current.clear();
        } else {
            current += c;
        }
    }
    items << unescape(current);
    return items;
}

QString LanguageFile::escape(const QString& text)
{
    QString result;
    result.reserve(text.size());
    for (const QChar c : text) {
        if (c == u'\n')
            result += QLatin1String("\\n");
        else if (c == kEscape || c == kItemSeparator)
            result += QString(kEscape) + c;
        else
            result += c;
    }
    return result;
}

QString LanguageFile::joinItems(const QStringList& items)
{
    QStringList escaped;
    for (const QString& item : items)
        escaped << escape(item);
    return escaped.join(kItemSeparator);
}

int LanguageFile::languageId() const
{
    bool ok = false;
    const int id = parameter(kLanguageIdParameter).toInt(&ok);
    return ok && id > 0 && id <= kMaxLanguageId ? id : 0;
}

QString LanguageFile::parameter(const QString& name) const
{
    for (const Entry& entry : m_parameters) {
        if (entry.name.compare(name, Qt::CaseInsensitive) == 0)
            return entry.value;
    }
    return QString();
}

const LanguageFile::Section* LanguageFile::findSection(const QString& name) const
{
    for (const Section& section : m_sections) {
        if (section.name.compare(name, Qt::CaseInsensitive) == 0)
            return &section;
    }
    return nullptr;
}

std::optional<QString> LanguageFile::value(const QString& section, const QString& name) const
{
    const Section* found = findSection(section);
    if (!found)
        return std::nullopt;
    for (const Entry& entry : found->entries) {
        if (entry.name.compare(name, Qt::CaseInsensitive) == 0)
            return entry.value;
    }
    return std::nullopt;
}

QStringList LanguageFile::names(const QString& section) const
{
    QStringList result;
    if (const Section* found = findSection(section)) {
        for (const Entry& entry : found->entries)
            result << entry.name;
    }
    return result;
}
