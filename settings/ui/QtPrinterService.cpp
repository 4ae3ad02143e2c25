#include "settings/ui/QtPrinterService.h"

QStringList QtPrinterService::printerNames() const
{
    return QPrinterInfo::availablePrinterNames();
}

QString QtPrinterService::currentPrinterName() const
{
    if (!m_current)
        m_current = QPrinterInfo::defaultPrinterName();
    return *m_current;
}

void QtPrinterService::selectPrinter(const QString& name)
{
    if (printerNames().contains(name, Qt::CaseSensitive))
        m_current = name;
}

QPrinterInfo QtPrinterService::currentPrinter() const
{
    return QPrinterInfo::printerInfo(currentPrinterName());
}
