#include "app/core/TempFolder.h"

#include <QDir>
#include <QFileInfo>

namespace {
constexpr char kSystemTempFolder[] = "/tmp";
}

QString TempFolder::path()
{
    // QDir::tempPath() hands back $TMPDIR even when that folder is gone, and
    // an empty text when it is empty; files made "in the temporary folder"
    // would then land in the current folder. The system's folder is the
    // sound place for them.
    const QString candidate = QDir::tempPath();
    if (!candidate.isEmpty() && QFileInfo(candidate).isDir())
        return QDir(candidate).absolutePath();
    return QString::fromLatin1(kSystemTempFolder);
}

QString TempFolder::pathWithSeparator()
{
    return path() + QLatin1Char('/');
}
