#pragma once

#include <QString>
#include <QStringList>

// The program's own version record: product data set once by the build and
// read by key, like a resource's string table ("FileVersion", "Web", ...).
class VersionRecord
{
public:
    // The value of a key, or an empty string for a key the record lacks.
    static QString value(const QString& key);
    static QStringList keys();
    static QString gatewayAddress();
};
