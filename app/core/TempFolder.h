#pragma once

#include <QString>

// The user's temporary folder (on Linux $TMPDIR, else /tmp). Working files,
// fax images and message files are made here.
class TempFolder
{
public:
    static QString path();
    // path() with a trailing separator.
    static QString pathWithSeparator();
};
