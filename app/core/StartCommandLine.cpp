#include "app/core/StartCommandLine.h"

namespace {
// Switches are compared with ASCII letters folded only, as the printer and
// scripts write them; a national letter never makes a switch.
QString asciiLower(const QString& text)
{
    QString result = text;
    for (QChar& c : result) {
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            c = QChar(c.unicode() + ('a' - 'A'));
    }
    return result;
}

QString joinArguments(const QStringList& arguments)
{
    QString joined;
    for (const QString& argument : arguments)
        joined += argument + QLatin1Char(' ');
    return joined.trimmed().toLower();
}
} // namespace

const QStringList& StartCommandLine::AcceptedExtensions()
{
    static const QStringList extensions{
        QStringLiteral(".tif"), QStringLiteral(".tiff"), QStringLiteral(".bmp"),
        QStringLiteral(".png"), QStringLiteral(".jpg"),  QStringLiteral(".fax"),
    };
    return extensions;
}

QString StartCommandLine::ExtensionOf(const QString& path)
{
    const int separator = path.lastIndexOf(QLatin1Char('/'));
    const int dot = path.lastIndexOf(QLatin1Char('.'));
    if (dot < 0 || dot < separator)
        return {};
    return path.mid(dot);
}

StartCommandLine::Decision StartCommandLine::Evaluate(const QStringList& arguments)
{
    Decision decision;
    decision.joinedLine = joinArguments(arguments);
    if (arguments.isEmpty())
        return decision;

    decision.firstArgument = arguments.first();
    const QString firstSwitch = asciiLower(decision.firstArgument);
    if (AcceptedExtensions().contains(ExtensionOf(decision.joinedLine)))
        decision.action = Action::OpenFile;
    else if (firstSwitch == QLatin1String("--install-wizard"))
        decision.action = Action::InstallWizard;
    else if (firstSwitch == QLatin1String("--new"))
        decision.action = Action::NewDocument;
    return decision;
}
