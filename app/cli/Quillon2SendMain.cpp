// quillon2-send: sends documents as a fax from the command line, with the
// settings of the desktop program. No widgets: it runs without a display.
#include "app/cli/CliSender.h"
#include "app/cli/SendOptions.h"

#include <QCoreApplication>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quillon2-send"));

    const Result<SendOptions> options = SendOptions::parse(QCoreApplication::arguments());
    if (!options.ok()) {
        std::fprintf(stderr, "%s (see --help)\n", qPrintable(options.status().text()));
        return CliSender::kExitUsage;
    }
    if (options.value().helpWanted) {
        std::fputs(qPrintable(SendOptions::helpText()), stdout);
        return CliSender::kExitHandedOver;
    }

    CliSender sender(options.value());
    int exitCode = CliSender::kExitUsage;
    QObject::connect(&sender, &CliSender::done, &app, [&exitCode](int code) {
        exitCode = code;
        QCoreApplication::exit(code);
    });
    QTimer::singleShot(0, &sender, &CliSender::start);
    app.exec();
    return exitCode;
}
