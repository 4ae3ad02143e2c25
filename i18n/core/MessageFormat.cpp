#include "i18n/core/MessageFormat.h"

QString MessageFormat::Format(const QString& pattern, const QVariantList& args)
{
    QString result;
    result.reserve(pattern.size() + 64);
    int next = 0;
    for (int i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern.at(i);
        if (c != QLatin1Char('%') || i + 1 >= pattern.size()) {
            result += c;
            continue;
        }
        const QChar kind = pattern.at(i + 1);
        if (kind == QLatin1Char('%')) {
            result += QLatin1Char('%');
            ++i;
        } else if (kind == QLatin1Char('s') || kind == QLatin1Char('S') ||
                   kind == QLatin1Char('d')) {
            if (next < args.size())
                result += args.at(next++).toString();
            ++i;
        } else {
            result += c;
        }
    }
    return result;
}
