#pragma once

#include <QString>

// Where the settings file lives. The per-user product folder is used when it
// exists; otherwise the file sits beside the executable, named after it.
class SettingsLocation
{
public:
    // The per-user application data folder ($XDG_CONFIG_HOME or ~/.config).
    static QString GetSpecialFolder();
    // GetSpecialFolder() followed by "/Vornik/Quillon2".
    static QString GetSettingsFolder();
    // The full path of the settings file for the executable at executablePath:
    // "<settings folder>/<executable name>.ini" when the settings folder
    // exists, else the executable's path with the extension ".ini". An
    // executable folder that takes no new files (an installed program) gets
    // the settings folder created, since the settings could not be saved there.
    static QString SettingsFileName(const QString& executablePath);
};
