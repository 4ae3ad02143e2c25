#pragma once

#include <QString>

// Opens a file with the program the desktop associates with its type, the
// way a double click in the file manager would.
class FileOpener
{
public:
    virtual ~FileOpener();
    // Whether the desktop took the request; nothing waits for the program.
    virtual bool open(const QString& path) = 0;
};
