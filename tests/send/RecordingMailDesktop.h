#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <map>

// A desktop of our own for the real xdg-email and xdg-open: a temporary
// folder holding a generic desktop's configuration in which a small shell
// script is the mail program, for mailto links and for e-mail files. The script records the
// arguments it is started with, so a test sees exactly what a mail program would receive.
class RecordingMailDesktop
{
public:
    RecordingMailDesktop();

    bool isValid() const { return m_valid; }
    // The environment to run xdg-email in.
    const QProcessEnvironment& environment() const { return m_environment; }
    // A folder for the test's own files.
    QString filePath(const QString& name) const { return m_folder.filePath(name); }

    // The arguments of the mail program's last start, waiting for it up to
    // timeoutMs; empty when it was not started.
    QStringList recordedArguments(int timeoutMs = 10000) const;
    bool wasStarted() const;

    // A mailto: address split into its recipient and its parameters (values
    // percent-decoded, as UTF-8); several "attach" or "cc" values are kept in
    // order.
    struct Mailto
    {
        QString to;
        std::multimap<QString, QString> fields;
        QStringList values(const QString& name) const;
        QString value(const QString& name) const;
    };
    static Mailto parseMailto(const QString& uri);

private:
    QTemporaryDir m_folder;
    QProcessEnvironment m_environment;
    QString m_record;
    bool m_valid = false;
};
