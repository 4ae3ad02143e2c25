#include "app/core/TempFolder.h"

#include <QDir>

QString TempFolder::path()
{
    return QDir::tempPath();
}

QString TempFolder::pathWithSeparator()
{
    return QDir(path()).absolutePath() + QLatin1Char('/');
}
