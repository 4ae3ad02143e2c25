#pragma once

#include <QString>
#include <QVariantList>

// Fills the placeholders of a message text in order: "%s" and "%S" take a
// text, "%d" a whole number, "%%" is a percent sign. Translated texts keep
// these placeholders, so they cannot go through QString::arg's numbered ones.
class MessageFormat
{
public:
    static QString Format(const QString& pattern, const QVariantList& args);
};
