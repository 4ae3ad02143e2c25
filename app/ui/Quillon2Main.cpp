// The desktop program: one hidden main window per process, an editor window
// per document, and the process ends when the last editor has closed.
#include "app/ui/MessageBoxPrompter.h"
#include "app/ui/TFaxHideForm.h"
#include "i18n/ui/QtDialogTranslator.h"
#include "settings/ui/QtPrinterService.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("quillon2"));
    // Editor windows come and go; the hidden main window's watch timer
    // decides when the process ends.
    QApplication::setQuitOnLastWindowClosed(false);
    // Qt's own dialog texts follow the language in force.
    QtDialogTranslator qtTexts(&app);

    MessageBoxPrompter prompter;
    QtPrinterService printers;
    StartEnvironment environment;
    environment.arguments = QApplication::arguments().mid(1);
    environment.executablePath = QApplication::applicationFilePath();
    environment.prompter = &prompter;
    environment.printers = &printers;

    TFaxHideForm hideForm(environment);
    return QApplication::exec();
}
