#pragma once

#include "settings/core/PrinterService.h"

#include <QPrinterInfo>

#include <optional>

// The system's printers through Qt's printing support. The current printer
// belongs to this process: it starts as the system's default printer and
// changes only when the settings or the user choose another one.
class QtPrinterService : public PrinterService
{
public:
    QStringList printerNames() const override;
    QString currentPrinterName() const override;
    void selectPrinter(const QString& name) override;

    // The current printer, for printing a copy of a sent fax; null when
    // no printer is installed.
    QPrinterInfo currentPrinter() const;

private:
    // Asked for on first use, so that a process that never prints never
    // waits for the printing system.
    mutable std::optional<QString> m_current;
};
