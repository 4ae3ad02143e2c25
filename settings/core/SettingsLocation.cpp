#include "settings/core/SettingsLocation.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace {

constexpr QLatin1String kProductSubfolder("/Vornik/Quillon2");
constexpr QLatin1String kSettingsExtension(".ini");

// The file name without its extension (the part after the last "."); a name
// without a "." is taken whole.
QString withoutExtension(const QString& fileName)
{
    const int dot = fileName.lastIndexOf(QLatin1Char('.'));
    return dot >= 0 ? fileName.left(dot) : fileName;
}

// Saving replaces the settings file through a new file in the same folder,
// so the folder itself must take new files. Trying it is the only answer
// that also holds for root, read-only mounts and access control lists.
bool folderTakesNewFiles(const QString& folder)
{
    if (!QFileInfo(folder).isDir())
        return false;
    QTemporaryFile probe(folder + QStringLiteral("/.quillon-probe-XXXXXX"));
    return probe.open();
}

bool isDirectory(const QString& path)
{
    return QFileInfo(path).isDir();
}

} // namespace

QString SettingsLocation::GetSpecialFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
}

QString SettingsLocation::GetSettingsFolder()
{
    const QString special = GetSpecialFolder();
    // Without a user folder there is no settings folder (not one at the root).
    if (special.isEmpty())
        return QString();
    return special + kProductSubfolder;
}

QString SettingsLocation::SettingsFileName(const QString& executablePath)
{
    const QFileInfo executable(executablePath);
    const QString settingsName = withoutExtension(executable.fileName()) + kSettingsExtension;
    const QString settingsFolder = GetSettingsFolder();

    if (!settingsFolder.isEmpty() && isDirectory(settingsFolder))
        return settingsFolder + QLatin1Char('/') + settingsName;

    const QString executableFolder = executable.absolutePath();
    if (!folderTakesNewFiles(executableFolder) && !settingsFolder.isEmpty() &&
        QDir().mkpath(settingsFolder))
        return settingsFolder + QLatin1Char('/') + settingsName;

    return executableFolder + QLatin1Char('/') + settingsName;
}
