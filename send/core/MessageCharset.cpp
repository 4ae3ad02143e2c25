#include "send/core/MessageCharset.h"

#include <QStringDecoder>
#include <QStringEncoder>

// Qt reaches windows-1251 through ICU; a build without ICU would fail here
// loudly in the tests rather than send mangled subjects.
QByteArray MessageCharset::encode(const QString& text)
{
    QStringEncoder encoder(kName);
    Q_ASSERT(encoder.isValid());
    return encoder.encode(text);
}

QString MessageCharset::decode(const QByteArray& bytes)
{
    QStringDecoder decoder(kName);
    Q_ASSERT(decoder.isValid());
    return decoder.decode(bytes);
}
