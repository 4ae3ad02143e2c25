#pragma once

#include <QByteArray>
#include <QString>

// The character set of every fax request: header texts outside ASCII, the
// message text and the multi-address list are written in windows-1251, which
// the gateway expects whatever the interface language.
class MessageCharset
{
public:
    static constexpr char kName[] = "windows-1251";

    // Characters that windows-1251 lacks become "?".
    static QByteArray encode(const QString& text);
    static QString decode(const QByteArray& bytes);
};
