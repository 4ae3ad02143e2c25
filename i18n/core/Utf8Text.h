#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Our text files are UTF-8; older ones (language files, configurations,
// number lists made elsewhere) are 8-bit text in a Windows code page. The
// readers try UTF-8 first and fall back to their code page when it fails.
class Utf8Text
{
public:
    // The text when the bytes are valid UTF-8, else nothing.
    static std::optional<QString> decodeStrict(const QByteArray& bytes);
};
