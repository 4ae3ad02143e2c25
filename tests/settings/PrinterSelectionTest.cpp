// The printer remembered in the settings: selected again by its exact name,
// written back from the current printer, and harmless without any printer.
#include "settings/core/PrinterService.h"
#include "settings/core/TIni.h"
#include "settings/ui/QtPrinterService.h"

#include "tests/support/TestFiles.h"

#include <QPrinterInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// This machine has no printers, so the list the system would give is played
// by a fixed one.
class ListedPrinters : public PrinterService
{
public:
    explicit ListedPrinters(QStringList names) : m_names(std::move(names))
    {
        if (!m_names.isEmpty())
            m_current = m_names.first();
    }
    QStringList printerNames() const override { return m_names; }
    QString currentPrinterName() const override { return m_current; }
    void selectPrinter(const QString& name) override { m_current = name; }

private:
    QStringList m_names;
    QString m_current;
};

const QStringList kPrinters{QStringLiteral("Office Laser"), QStringLiteral("office laser"),
                            QStringLiteral("Fax Printer")};

QString currentAfterReading(const char* storedName)
{
    ListedPrinters printers(kPrinters);
    TIni ini(&printers);
    ini.LoadFromStrings(
        {QStringLiteral("[Common]"), QStringLiteral("DefaultPrinter=") + storedName});
    return printers.currentPrinterName();
}

TEST(PrinterSelection, StoredNameMustMatchExactly)
{
    EXPECT_EQ(currentAfterReading("office laser"), QStringLiteral("office laser"));
    EXPECT_EQ(currentAfterReading("Fax Printer"), QStringLiteral("Fax Printer"));
    // No match, in whatever case, leaves the current printer as it was.
    EXPECT_EQ(currentAfterReading("FAX PRINTER"), QStringLiteral("Office Laser"));
    EXPECT_EQ(currentAfterReading(""), QStringLiteral("Office Laser"));
}

TEST(PrinterSelection, CurrentPrinterIsWritten)
{
    const QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("quillon2.ini"));
    ListedPrinters printers(kPrinters);
    TIni ini(&printers);
    ini.LoadFromStrings({});
    ini.SelectPrinter(QStringLiteral("Fax Printer"));
    ini.SelectPrinter(QStringLiteral("Not Installed"));
    EXPECT_EQ(ini.CurrentPrinterName(), QStringLiteral("Fax Printer"));
    ASSERT_TRUE(ini.SaveToFile(path).ok());
    EXPECT_TRUE(testfiles::read(path).contains("\nDefaultPrinter=Fax Printer\n[Info]\n"));
}

TEST(PrinterSelection, WithoutPrintersTheKeyIsEmptyAndTheRestIsWritten)
{
    const QTemporaryDir dir;
    ListedPrinters none({});
    TIni withEmptyList(&none);
    TIni withoutService;
    for (TIni* ini : {&withEmptyList, &withoutService}) {
        const QString path = dir.filePath(QStringLiteral("quillon2.ini"));
        QFile::remove(path);
        ini->LoadFromStrings({QStringLiteral("[Common]"), QStringLiteral("DefaultPrinter=Gone")});
        ini->CardName = QStringLiteral("123");
        EXPECT_EQ(ini->CurrentPrinterName(), QString());
        ASSERT_TRUE(ini->SaveToFile(path).ok());
        const QByteArray text = testfiles::read(path);
        EXPECT_TRUE(text.contains("\nDefaultPrinter=\n[Info]\nCardName=123\n"));
        EXPECT_TRUE(text.endsWith("PrintAlign=0\n"));
    }
}

TEST(QtPrinterService, FollowsTheSystemList)
{
    QtPrinterService printers;
    EXPECT_EQ(printers.printerNames(), QPrinterInfo::availablePrinterNames());
    EXPECT_EQ(printers.currentPrinterName(), QPrinterInfo::defaultPrinterName());
    const QString before = printers.currentPrinterName();
    printers.selectPrinter(QStringLiteral("No Such Printer On This Machine"));
    EXPECT_EQ(printers.currentPrinterName(), before);
}

} // namespace
