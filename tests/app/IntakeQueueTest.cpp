#include "app/core/IntakeQueue.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {
TEST(IntakeQueue, FirstInFirstOutTrimmedAndWithoutEmptyPaths)
{
    IntakeQueue queue;
    queue.EnqueueFile(QStringLiteral("  /tmp/a.tif "));
    queue.EnqueueFile(QStringLiteral("   "));
    queue.EnqueueFile(QString());
    queue.EnqueueFile(QStringLiteral("/tmp/b.tif"));
    EXPECT_EQ(queue.count(), 2);
    EXPECT_EQ(queue.DequeueFile(), QStringLiteral("/tmp/a.tif"));
    EXPECT_EQ(queue.DequeueFile(), QStringLiteral("/tmp/b.tif"));
    EXPECT_EQ(queue.DequeueFile(), QString());
}

TEST(IntakeQueue, ThreadsAppendingAtOnceLoseNothing)
{
    constexpr int kThreads = 4;
    constexpr int kPathsEach = 2000;
    IntakeQueue queue;
    std::vector<std::unique_ptr<QThread>> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back(QThread::create([&queue, t] {
            for (int i = 0; i < kPathsEach; ++i)
                queue.EnqueueFile(QStringLiteral("/tmp/%1-%2.tif").arg(t).arg(i));
        }));
        threads.back()->start();
    }
    int taken = 0;
    for (auto& thread : threads)
        thread->wait();
    while (!queue.DequeueFile().isEmpty())
        ++taken;
    EXPECT_EQ(taken, kThreads * kPathsEach);
}

TEST(IntakeQueue, OnlyReadableRegularFilesAreTakenIn)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString file = folder.filePath(QStringLiteral("page.tif"));
    testfiles::write(file, "II*\0");
    const QString link = folder.filePath(QStringLiteral("link.tif"));
    ASSERT_TRUE(QFile::link(file, link));
    const QString pipe = folder.filePath(QStringLiteral("pipe.tif"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);

    struct Case
    {
        const char* name;
        QString path;
        bool taken;
    };
    const std::vector<Case> table{
        {"RegularFile", file, true},
        {"LinkToRegularFile", link, true},
        {"Gone", folder.filePath(QStringLiteral("gone.tif")), false},
        {"Directory", folder.path(), false},
        {"Pipe", pipe, false},
        {"Device", QStringLiteral("/dev/null"), false},
        {"Empty", QString(), false},
    };
    for (const Case& row : table)
        EXPECT_EQ(IntakeQueue::IsIntakeFile(row.path), row.taken) << row.name;
}
} // namespace
