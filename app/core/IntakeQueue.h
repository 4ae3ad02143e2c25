#pragma once

#include <QMutex>
#include <QString>
#include <QStringList>

// The documents handed over by later starts, first in, first out. The command
// server's thread appends, the watch timer on the user-interface thread takes
// them out; each operation holds the lock for one list operation only.
class IntakeQueue
{
public:
    // Trims the path; an empty result is dropped.
    void EnqueueFile(const QString& path);
    // The oldest path, or the empty text when there is none.
    QString DequeueFile();
    int count() const;

    // Whether a queued path may be taken in: it must name a regular file that
    // this user can read. A later start of any program can put a path here,
    // so a directory, a device or a pipe (which would block the reader) is
    // refused as firmly as a file that is gone.
    static bool IsIntakeFile(const QString& path);

private:
    mutable QMutex QueueLock;
    QStringList m_paths;
};
