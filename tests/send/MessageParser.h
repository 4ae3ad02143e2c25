#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QStringList>

// Hands a rendered message to Python's own e-mail parser (a reader we did not
// write) and returns what it saw: headers in order, parts with their bytes.
namespace messageparser {
QJsonObject parse(const QByteArray& message);
// Names of the header fields in order.
QStringList headerNames(const QJsonObject& parsed);
// Decoded value of the first field of that name, or a null string.
QString header(const QJsonObject& parsed, const QString& name);
QString rawHeader(const QJsonObject& parsed, const QString& name);
QByteArray partBytes(const QJsonObject& part);
} // namespace messageparser
