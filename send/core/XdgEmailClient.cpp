#include "send/core/XdgEmailClient.h"

#include <QProcess>

#include <utility>

namespace {

// xdg-email joins the lines it is given with CR LF itself; a CR left in the
// text would travel as a character of its own.
QString withUnixLineEnds(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

// xdg-email refuses an option with an empty value, so an empty field is left
// out rather than given.
void addOption(QStringList& arguments, const char* option, const QString& value)
{
    if (value.isEmpty())
        return;
    arguments << QString::fromLatin1(option) << value;
}

void addEachLine(QStringList& arguments, const char* option, const QStringList& values)
{
    for (const QString& value : values)
        addOption(arguments, option, value.trimmed());
}

} // namespace

XdgEmailClient::XdgEmailClient(QObject* parent, QString program, QProcessEnvironment environment)
    : MailClient(parent), m_program(std::move(program)), m_environment(std::move(environment))
{
}

QStringList XdgEmailClient::argumentsFor(const MailClientMessage& message)
{
    // Our texts are UTF-8 on the command line; without --utf8 xdg-email would
    // convert them from the locale's character set once more.
    QStringList arguments{QStringLiteral("--utf8")};
    addEachLine(arguments, "--cc", message.cc);
    addEachLine(arguments, "--bcc", message.bcc);
    addOption(arguments, "--subject", message.subject);
    addOption(arguments, "--body", withUnixLineEnds(message.body));
    addEachLine(arguments, "--attach", message.attachmentPaths);
    for (const QString& address : message.to) {
        if (!address.trimmed().isEmpty())
            arguments << address.trimmed();
    }
    return arguments;
}

void XdgEmailClient::send(const MailClientMessage& message)
{
    // The process is ours until it ends; the mail program it starts is not
    // (xdg-email only waits for the desktop's hand-off).
    auto* process = new QProcess(this);
    process->setProcessEnvironment(m_environment);
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    connect(process, &QProcess::errorOccurred, this, [this, process](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return; // the end is reported by finished()
        Q_EMIT failed(kProgramNotStarted);
        process->deleteLater();
    });
    connect(process, &QProcess::finished, this,
            [this, process](int exitCode, QProcess::ExitStatus exitStatus) {
                if (exitStatus == QProcess::CrashExit)
                    Q_EMIT failed(kProgramCrashed);
                else if (exitCode != 0)
                    Q_EMIT failed(exitCode);
                else
                    Q_EMIT handedOver();
                process->deleteLater();
            });
    process->start(m_program, argumentsFor(message));
}
