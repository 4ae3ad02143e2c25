#pragma once

#include <QString>
#include <QStringList>

// The system's printers as the settings see them: the list in the system's
// order and the one that is current for this process. The settings remember
// the current printer by name and make it current again at the next start;
// the windows supply the real printing service, tests a list of their own.
class PrinterService
{
public:
    virtual ~PrinterService() = default;

    virtual QStringList printerNames() const = 0;
    // Empty when no printer is installed.
    virtual QString currentPrinterName() const = 0;
    virtual void selectPrinter(const QString& name) = 0;

protected:
    PrinterService() = default;
    PrinterService(const PrinterService&) = default;
    PrinterService& operator=(const PrinterService&) = default;
};
