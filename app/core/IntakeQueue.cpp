#include "app/core/IntakeQueue.h"

#include <QFileInfo>
#include <QMutexLocker>

void IntakeQueue::EnqueueFile(const QString& path)
{
    const QString trimmed = path.trimmed();
    if (trimmed.isEmpty())
        return;
    QMutexLocker lock(&QueueLock);
    m_paths.append(trimmed);
}

QString IntakeQueue::DequeueFile()
{
    QMutexLocker lock(&QueueLock);
    if (m_paths.isEmpty())
        return {};
    return m_paths.takeFirst();
}

int IntakeQueue::count() const
{
    QMutexLocker lock(&QueueLock);
    return static_cast<int>(m_paths.size());
}

bool IntakeQueue::IsIntakeFile(const QString& path)
{
    if (path.isEmpty())
        return false;
    // QFileInfo follows symbolic links: a link to a readable regular file is
    // as good as the file.
    const QFileInfo info(path);
    return info.exists() && info.isFile() && info.isReadable();
}
