#include "app/cli/SendOptions.h"

#include <QCommandLineParser>

namespace {
const QString kSendAtFormat = QStringLiteral("dd.MM.yyyy HH:mm:ss");

struct Parser
{
    QCommandLineParser parser;
    QCommandLineOption settings{"settings", "Settings file (default: the desktop program's).",
                                "FILE"};
    QCommandLineOption relay{"relay",
                             "Relay to use instead of the settings' EMailSendMethod: 0 = the "
                             "mail program (xdg-email), 1 = internal SMTP, 2 = a message file "
                             "opened with the desktop's mail program.",
                             "N"};
    QCommandLineOption sendAt{
        "send-at", "Wanted send time, \"dd.mm.yyyy hh:nn:ss\" local time (X-SendDT).", "TIME"};
    QCommandLineOption debug{"debug", "Ask the gateway for a full (debug) report (X-Debug)."};
    QCommandLineOption multi{"multi",
                             "Multi-address mode: further fax numbers, one per line, from FILE. "
                             "Lines that do not begin with a digit are reported and dropped; at "
                             "least two must remain. The number text is then not checked.",
                             "FILE"};
    QCommandLineOption messageOut{
        "message-out",
        "Write the message the SMTP relay would send to FILE (\"-\" for standard output) and "
        "send nothing.",
        "FILE"};
    QCommandLineOption verbose{"verbose", "Print the SMTP client's status lines on stderr."};
    QCommandLineOption number{"n",
                              "Fax number text: the number, optionally followed by a comment, "
                              "for example \"123456 (My Favorite Client)\". It is the subject and "
                              "goes into the history.",
                              "TEXT"};
    QCommandLineOption help{QStringList{"h", "help"}, "Show this help."};

    Parser()
    {
        parser.setApplicationDescription(
            "Sends documents as one fax through the fax gateway, with the account and mail "
            "settings of the desktop program.\n\n"
            "Every page of every DOCUMENT (.tif, .tiff, .fax, .bmp, .png, .jpg ...) is read in "
            "order and written as one black-and-white fax image.\n\n"
            "Exit status: 0 handed over (or written with --message-out), 2 wrong usage or "
            "input, 3 the relay failed.");
        parser.addOptions(
            {settings, relay, sendAt, debug, multi, messageOut, verbose, number, help});
        parser.addPositionalArgument("DOCUMENT", "Document files to send, in order.",
                                     "DOCUMENT...");
    }
};
} // namespace

QString SendOptions::helpText()
{
    Parser p;
    return p.parser.helpText();
}

Result<SendOptions> SendOptions::parse(const QStringList& args)
{
    Parser p;
    if (!p.parser.parse(args))
        return Status::failure(p.parser.errorText());
    SendOptions options;
    if (p.parser.isSet(p.help)) {
        options.helpWanted = true;
        return options;
    }
    options.settingsFile = p.parser.value(p.settings);
    if (p.parser.isSet(p.relay)) {
        bool isNumber = false;
        options.relay = p.parser.value(p.relay).toInt(&isNumber);
        if (!isNumber)
            return Status::failure(
                QStringLiteral("--relay wants a number, not \"%1\".").arg(p.parser.value(p.relay)));
    }
    if (p.parser.isSet(p.sendAt)) {
        const QDateTime at = QDateTime::fromString(p.parser.value(p.sendAt), kSendAtFormat);
        if (!at.isValid())
            return Status::failure(
                QStringLiteral("--send-at wants \"dd.mm.yyyy hh:nn:ss\", not \"%1\".")
                    .arg(p.parser.value(p.sendAt)));
        options.sendAt = at;
    }
    options.debug = p.parser.isSet(p.debug);
    options.multiFile = p.parser.value(p.multi);
    options.messageOut = p.parser.value(p.messageOut);
    options.verbose = p.parser.isSet(p.verbose);
    if (!p.parser.isSet(p.number))
        return Status::failure(QStringLiteral("The fax number text is missing (-n TEXT)."));
    options.numberText = p.parser.value(p.number);
    options.documents = p.parser.positionalArguments();
    if (options.documents.isEmpty())
        return Status::failure(QStringLiteral("No document to send."));
    return options;
}
