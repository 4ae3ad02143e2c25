#include "settings/core/IniFile.h"

#include <QFile>
#include <QFileInfo>

#include <optional>

namespace {

const QByteArray kByteOrderMark("\xEF\xBB\xBF");
constexpr QChar kCommentStart(u';');
constexpr QChar kSectionOpen(u'[');
constexpr QChar kSectionClose(u']');
constexpr QChar kKeyValueSeparator(u'=');
constexpr quint64 kMaxHexValue = 0xFFFFFFFFu;
constexpr quint64 kMaxDecimalValue = 0x7FFFFFFFu;

std::optional<QString> sectionHeaderName(const QString& line)
{
    const QString trimmed = line.trimmed();
    if (trimmed.size() < 2 || !trimmed.startsWith(kSectionOpen) || !trimmed.endsWith(kSectionClose))
        return std::nullopt;
    return trimmed.mid(1, trimmed.size() - 2).trimmed();
}

struct KeyLine
{
    QString key;
    QString value;
};

std::optional<KeyLine> keyLine(const QString& line)
{
    const QString trimmed = line.trimmed();
    if (trimmed.isEmpty() || trimmed.startsWith(kCommentStart) || sectionHeaderName(trimmed))
        return std::nullopt;
    const int separator = trimmed.indexOf(kKeyValueSeparator);
    if (separator <= 0)
        return std::nullopt;
    const QString key = trimmed.left(separator).trimmed();
    if (key.isEmpty())
        return std::nullopt;
    return KeyLine{key, trimmed.mid(separator + 1).trimmed()};
}

bool sameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

QString withoutEnclosingQuotes(const QString& value)
{
    if (value.size() < 2)
        return value;
    const QChar first = value.front();
    if ((first == u'"' || first == u'\'') && value.back() == first)
        return value.mid(1, value.size() - 2);
    return value;
}

QString cutToFileLimit(const QString& value)
{
    if (value.size() <= IniFile::kMaxFileValueLength)
        return value;
    int length = IniFile::kMaxFileValueLength;
    // Never leave half of a surrogate pair behind.
    if (value.at(length - 1).isHighSurrogate())
        --length;
    return value.left(length);
}

// A value always stays on its own line; a line break inside it would start
// new keys in the file.
QString singleLine(const QString& value)
{
    QString result = value;
    result.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    result.replace(u'\r', u' ');
    result.replace(u'\n', u' ');
    return result;
}

// The value of one digit in the given base (10 or 16), or -1.
int digitValue(QChar c, int base)
{
    const char16_t u = c.toLower().unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (base == 16 && u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    return -1;
}

bool parseDigits(const QString& digits, int base, quint64 limit, quint64* value)
{
    if (digits.isEmpty())
        return false;
    quint64 result = 0;
    for (const QChar c : digits) {
        const int digit = digitValue(c, base);
        if (digit < 0)
            return false;
        result = result * static_cast<quint64>(base) + static_cast<quint64>(digit);
        if (result > limit)
            return false;
    }
    *value = result;
    return true;
}

} // namespace

Result<IniFile> IniFile::fromFile(const QString& path)
{
    if (!QFileInfo::exists(path))
        return IniFile();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Status::failure(file.errorString());
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return Status::failure(file.errorString());
    return fromText(bytes);
}

IniFile IniFile::fromLines(const QStringList& lines)
{
    IniFile ini;
    ini.m_kind = Kind::ImportedText;
    ini.m_lines = lines;
    return ini;
}

IniFile IniFile::fromText(const QByteArray& utf8)
{
    IniFile ini;
    QByteArray bytes = utf8;
    if (bytes.startsWith(kByteOrderMark)) {
        ini.m_byteOrderMark = true;
        bytes.remove(0, kByteOrderMark.size());
    }
    if (bytes.contains("\r\n"))
        ini.m_lineBreak = QStringLiteral("\r\n");
    if (bytes.isEmpty())
        return ini;
    ini.m_lines = QString::fromUtf8(bytes).split(u'\n');
    if (ini.m_lines.last().isEmpty())
        ini.m_lines.removeLast();
    for (QString& line : ini.m_lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
    }
    return ini;
}

IniFile::Range IniFile::findSection(const QString& section) const
{
    Range range;
    for (int i = 0; i < m_lines.size(); ++i) {
        const std::optional<QString> name = sectionHeaderName(m_lines.at(i));
        if (!name)
            continue;
        if (range.header >= 0) {
            range.end = i;
            return range;
        }
        if (sameName(*name, section))
            range.header = i;
    }
    if (range.header >= 0)
        range.end = m_lines.size();
    return range;
}

int IniFile::findKeyLine(const Range& range, const QString& key) const
{
    if (range.header < 0)
        return -1;
    for (int i = range.header + 1; i < range.end; ++i) {
        const std::optional<KeyLine> line = keyLine(m_lines.at(i));
        if (line && sameName(line->key, key))
            return i;
    }
    return -1;
}

QString IniFile::rawValue(const QString& section, const QString& key, bool* found) const
{
    const int index = findKeyLine(findSection(section), key);
    *found = index >= 0;
    if (!*found)
        return {};
    const QString value = keyLine(m_lines.at(index))->value;
    if (m_kind == Kind::ImportedText)
        return value;
    return cutToFileLimit(withoutEnclosingQuotes(value));
}

QString IniFile::readString(const QString& section, const QString& key,
                            const QString& defaultValue) const
{
    bool found = false;
    const QString value = rawValue(section, key, &found);
    return found ? value : defaultValue;
}

qint32 IniFile::readInteger(const QString& section, const QString& key, qint32 defaultValue) const
{
    bool found = false;
    const QString text = rawValue(section, key, &found);
    qint32 value = 0;
    if (found && parseInteger(text, &value))
        return value;
    return defaultValue;
}

bool IniFile::readBool(const QString& section, const QString& key, bool defaultValue) const
{
    return readInteger(section, key, defaultValue ? 1 : 0) != 0;
}

bool IniFile::parseInteger(const QString& text, qint32* value)
{
    QString digits = text;
    const bool negative = digits.startsWith(u'-');
    if (negative || digits.startsWith(u'+'))
        digits.remove(0, 1);

    quint64 magnitude = 0;
    if (digits.startsWith(u'$')) {
        if (!parseDigits(digits.mid(1), 16, kMaxHexValue, &magnitude))
            return false;
    } else if (digits.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        if (!parseDigits(digits.mid(2), 16, kMaxHexValue, &magnitude))
            return false;
    } else {
        const quint64 limit = negative ? kMaxDecimalValue + 1 : kMaxDecimalValue;
        if (!parseDigits(digits, 10, limit, &magnitude))
            return false;
    }
    // Hexadecimal covers all 32 bits (colours such as $FF000005), so the bit
    // pattern is taken as it stands; unsigned arithmetic keeps the wrap defined.
    quint32 bits = static_cast<quint32>(magnitude);
    if (negative)
        bits = 0u - bits;
    *value = static_cast<qint32>(bits);
    return true;
}

void IniFile::writeString(const QString& section, const QString& key, const QString& value)
{
    const QString text = singleLine(value);
    const Range range = findSection(section);
    if (range.header < 0) {
        m_lines.append(kSectionOpen + section + kSectionClose);
        m_lines.append(key + kKeyValueSeparator + text);
        return;
    }
    const int existing = findKeyLine(range, key);
    if (existing >= 0) {
        // Keep the key as the file spells it.
        m_lines[existing] = keyLine(m_lines.at(existing))->key + kKeyValueSeparator + text;
        return;
    }
    int insertAt = range.header + 1;
    for (int i = range.header + 1; i < range.end; ++i) {
        if (keyLine(m_lines.at(i)))
            insertAt = i + 1;
    }
    m_lines.insert(insertAt, key + kKeyValueSeparator + text);
}

void IniFile::writeInteger(const QString& section, const QString& key, qint32 value)
{
    writeString(section, key, QString::number(value));
}

void IniFile::writeBool(const QString& section, const QString& key, bool value)
{
    writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

QByteArray IniFile::toUtf8() const
{
    QString text;
    for (const QString& line : m_lines)
        text += line + m_lineBreak;
    QByteArray bytes = text.toUtf8();
    if (m_byteOrderMark)
        bytes.prepend(kByteOrderMark);
    return bytes;
}
