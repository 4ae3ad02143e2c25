#include "send/core/MailAttachmentStore.h"

#include "tests/send/RelaysTestSupport.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class MailAttachmentStoreTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(folder.isValid()); }

    QString root() const { return folder.filePath("quillon2-outbox"); }
    QStringList stagedFolders() const
    {
        return QDir(root()).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    }

    QTemporaryDir folder;
    MailAttachmentStore store{folder.filePath("quillon2-outbox")};
    const QDateTime now{QDate(2015, 3, 5), QTime(9, 7, 0, 123)};
};

TEST_F(MailAttachmentStoreTest, StagesCopiesInAFolderOfTheirOwnPerHandOff)
{
    const QString image = folder.filePath("file_1.tif");
    const QString list = folder.filePath("multyfax_1.txt");
    testfiles::write(image, relaystest::sampleImageBytes());
    testfiles::write(list, "1\r\n2\r\n");

    const Result<QStringList> first = store.stage({image, list}, now);
    const Result<QStringList> second = store.stage({image}, now);

    ASSERT_TRUE(first.ok() && second.ok());
    EXPECT_EQ(first.value(), QStringList({root() + "/20150305_090700123/file_1.tif",
                                          root() + "/20150305_090700123/multyfax_1.txt"}));
    EXPECT_EQ(second.value(), QStringList{root() + "/20150305_090700123-1/file_1.tif"});
    EXPECT_EQ(testfiles::read(first.value()[0]), relaystest::sampleImageBytes());
    EXPECT_EQ(testfiles::read(first.value()[1]), "1\r\n2\r\n");
    EXPECT_EQ(QFileInfo(root()).permissions() & QFileDevice::ReadOther, QFileDevice::Permissions())
        << "other users cannot look into the outbox";
}

TEST_F(MailAttachmentStoreTest, MissingFileFailsAndLeavesNoFolder)
{
    const Result<QStringList> staged = store.stage({folder.filePath("gone.tif")}, now);
    EXPECT_FALSE(staged.ok());
    EXPECT_TRUE(stagedFolders().isEmpty());
}

TEST_F(MailAttachmentStoreTest, OutboxPlantedAsALinkIsNotUsed)
{
    QTemporaryDir elsewhere;
    ASSERT_TRUE(QFile::link(elsewhere.path(), root()));
    const QString image = folder.filePath("file_1.tif");
    testfiles::write(image, "x");

    EXPECT_FALSE(store.stage({image}, now).ok());
    EXPECT_TRUE(QDir(elsewhere.path()).isEmpty());
}

// Folders staged more than a day ago go at the next start; younger ones and
// folders that are not ours stay.
TEST_F(MailAttachmentStoreTest, RemovesOnlyCopiesOlderThanADay)
{
    const QString image = folder.filePath("file_1.tif");
    testfiles::write(image, "x");
    ASSERT_TRUE(store.stage({image}, now.addDays(-3)).ok());
    ASSERT_TRUE(store.stage({image}, now.addSecs(-MailAttachmentStore::kKeepSeconds - 1)).ok());
    ASSERT_TRUE(store.stage({image}, now.addSecs(-MailAttachmentStore::kKeepSeconds + 60)).ok());
    ASSERT_TRUE(QDir(root()).mkdir("not-ours"));

    EXPECT_EQ(store.removeExpiredCopies(now), 2);

    EXPECT_EQ(stagedFolders(), QStringList({"20150304_090800123", "not-ours"}));
    EXPECT_EQ(MailAttachmentStore(folder.filePath("never-made")).removeExpiredCopies(now), 0);
}

} // namespace
