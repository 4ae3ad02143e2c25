#include "tests/send/RecordingMailDesktop.h"

#include "tests/support/TestFiles.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QThread>
#include <QUrl>

namespace {
constexpr int kPollMs = 20;
constexpr char kDesktopEntry[] = "quillon-test-recorder.desktop";
} // namespace

RecordingMailDesktop::RecordingMailDesktop()
{
    if (!m_folder.isValid())
        return;
    m_record = m_folder.filePath("recorded-arguments");
    const QString script = m_folder.filePath("record-mail");
    // Written to a side file first, so the test never reads half a record.
    testfiles::write(script, QStringLiteral("#!/bin/sh\n"
                                            "printf '%s\\0' \"$@\" > '%1.part' && "
                                            "mv '%1.part' '%1'\n")
                                 .arg(m_record)
                                 .toUtf8());
    QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    testfiles::write(
        m_folder.filePath(QStringLiteral("data/applications/") + kDesktopEntry),
        QStringLiteral("[Desktop Entry]\nType=Application\nName=Recorder\n"
                       "Exec=%1 %u\nMimeType=x-scheme-handler/mailto;message/rfc822;\n")
            .arg(script)
            .toUtf8());
    testfiles::write(m_folder.filePath("config/mimeapps.list"),
                     QByteArray("[Default Applications]\nx-scheme-handler/mailto=") +
                         kDesktopEntry + "\nmessage/rfc822=" + kDesktopEntry + "\n");
    testfiles::write(m_folder.filePath("none/.keep"), {});

    // Nothing of the real session may leak in: no desktop of its own, no
    // MAILER or BROWSER, no system-wide configuration. The system's data
    // folder stays for its MIME database (a ".eml" file is message/rfc822);
    // our own association comes first. DISPLAY only needs to be set for
    // xdg-open to consult the associations at all.
    m_environment.insert("PATH", "/usr/bin:/bin");
    m_environment.insert("HOME", m_folder.path());
    m_environment.insert("LANG", "C.UTF-8");
    m_environment.insert("XDG_CURRENT_DESKTOP", "X-Generic");
    m_environment.insert("XDG_DATA_HOME", m_folder.filePath("data"));
    m_environment.insert("XDG_CONFIG_HOME", m_folder.filePath("config"));
    m_environment.insert("XDG_DATA_DIRS", "/usr/share");
    m_environment.insert("XDG_CONFIG_DIRS", m_folder.filePath("none"));
    m_environment.insert("DISPLAY", ":99");
    m_valid = true;
}

bool RecordingMailDesktop::wasStarted() const
{
    return QFile::exists(m_record);
}

QStringList RecordingMailDesktop::recordedArguments(int timeoutMs) const
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!wasStarted() && !deadline.hasExpired())
        QThread::msleep(kPollMs);
    if (!wasStarted())
        return {};
    QStringList arguments = QString::fromUtf8(testfiles::read(m_record)).split(QChar(0));
    arguments.removeLast(); // after the last terminator
    return arguments;
}

RecordingMailDesktop::Mailto RecordingMailDesktop::parseMailto(const QString& uri)
{
    Mailto mailto;
    QString rest = uri;
    rest.remove(0, QStringLiteral("mailto:").size());
    mailto.to = QUrl::fromPercentEncoding(rest.section(QLatin1Char('?'), 0, 0).toUtf8());
    const QString query = rest.section(QLatin1Char('?'), 1);
    for (const QString& field : query.split(QLatin1Char('&'), Qt::SkipEmptyParts)) {
        mailto.fields.emplace(
            field.section(QLatin1Char('='), 0, 0),
            QUrl::fromPercentEncoding(field.section(QLatin1Char('='), 1).toUtf8()));
    }
    return mailto;
}

QStringList RecordingMailDesktop::Mailto::values(const QString& name) const
{
    QStringList found;
    const auto range = fields.equal_range(name);
    for (auto it = range.first; it != range.second; ++it)
        found << it->second;
    return found;
}

QString RecordingMailDesktop::Mailto::value(const QString& name) const
{
    const QStringList found = values(name);
    return found.isEmpty() ? QString() : found.first();
}
