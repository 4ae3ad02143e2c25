#pragma once

#include <QCryptographicHash>
#include <QString>

#include <ostream>

// Lets failing expectations show digest texts as text instead of raw bytes.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

// Qt's own digest as lowercase hex text, the independent reference our
// digests are checked against.
inline QString QtDigest(const QByteArray& bytes, QCryptographicHash::Algorithm algorithm)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, algorithm).toHex());
}
