#include "app/core/TempFolder.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {
class TempFolderTest : public testing::Test
{
protected:
    void SetUp() override { m_saved = qgetenv("TMPDIR"); }
    void TearDown() override { qputenv("TMPDIR", m_saved); }

private:
    QByteArray m_saved;
};
} // namespace

TEST_F(TempFolderTest, FollowsTmpdirWhenItIsAFolder)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    qputenv("TMPDIR", folder.path().toUtf8());
    EXPECT_EQ(TempFolder::path(), folder.path());
    EXPECT_EQ(TempFolder::pathWithSeparator(), folder.path() + QLatin1Char('/'));
}

TEST_F(TempFolderTest, FallsBackToTheSystemFolderWhenTmpdirIsGoneOrEmpty)
{
    for (const QByteArray& value : {QByteArray("/no/such/folder/here"), QByteArray()}) {
        qputenv("TMPDIR", value);
        EXPECT_EQ(TempFolder::path(), QStringLiteral("/tmp")) << value.constData();
    }
}
