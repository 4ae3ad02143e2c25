#include "i18n/core/Utf8Text.h"

#include <QStringDecoder>

std::optional<QString> Utf8Text::decodeStrict(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        return std::nullopt;
    return text;
}
