#pragma once

#include "send/core/FileOpener.h"

#include <QProcessEnvironment>
#include <QString>

// The desktop's own association on a freedesktop.org desktop: xdg-open
// (xdg-utils) starts the program the desktop names for the file's type.
class XdgFileOpener : public FileOpener
{
public:
    static constexpr char kDefaultProgram[] = "xdg-open";

    // program and environment let a caller point it at another xdg-open or
    // another desktop configuration.
    explicit XdgFileOpener(
        QString program = QString::fromLatin1(kDefaultProgram),
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment());

    // Starts xdg-open and does not wait for it: the program it starts may
    // stay open as long as the user likes. False when it cannot be started.
    bool open(const QString& path) override;

private:
    QString m_program;
    QProcessEnvironment m_environment;
};
