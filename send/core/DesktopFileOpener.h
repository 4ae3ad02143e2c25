#pragma once

#include "send/core/FileOpener.h"

// The desktop's own association (xdg-open on a freedesktop.org desktop).
class DesktopFileOpener : public FileOpener
{
public:
    bool open(const QString& path) override;
};
