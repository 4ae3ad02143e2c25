#pragma once

#include <QString>
#include <QStringList>

// What a start of the program was asked to do by its arguments.
class StartCommandLine
{
public:
    enum class Action {
        OpenFile,      // a document of one of the accepted types: serve and open it
        InstallWizard, // "--install-wizard": the configuration wizard alone
        NewDocument,   // "--new": an empty document
        Unusable       // nothing we can act on: tell the user how to use the program
    };

    struct Decision
    {
        Action action = Action::Unusable;
        // The first argument exactly as given (not joined, not lower-cased):
        // the file to open, or what to show after the usage message.
        QString firstArgument;
        // All arguments joined by blanks, trimmed and lower-cased. A printer
        // that passes a path with blanks unquoted still ends the line with
        // the document's extension, and a failed hand-off opens this line.
        QString joinedLine;
    };

    static Decision Evaluate(const QStringList& arguments);

    // The document types a start accepts, with their leading dot.
    static const QStringList& AcceptedExtensions();
    // The extension of a path: from its last "." after the last separator,
    // empty when there is none.
    static QString ExtensionOf(const QString& path);
};
