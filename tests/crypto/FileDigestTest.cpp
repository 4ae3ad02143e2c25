#include "crypto/core/CryptoUtils.h"

#include "tests/crypto/CryptoTestSupport.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

namespace {

QByteArray RandomBytes(qsizetype length, quint32 start)
{
    QRandomGenerator generator(start);
    QByteArray bytes(length, Qt::Uninitialized);
    for (char& byte : bytes)
        byte = static_cast<char>(generator.generate() & 0xFF);
    return bytes;
}

class FileDigest : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_folder.isValid()); }

    QString pathOf(const QString& name) const { return m_folder.filePath(name); }

    QString writeFile(const QString& name, const QByteArray& bytes) const
    {
        const QString path = pathOf(name);
        testfiles::write(path, bytes);
        return path;
    }

private:
    QTemporaryDir m_folder;
};

} // namespace

// Sizes around the 64-byte block and the 4096-byte read: a file that ends
// exactly on a read boundary must be digested whole, with no extra read.
TEST_F(FileDigest, MatchesTheDigestOfTheSameBytes)
{
    for (const qsizetype size : {1, 63, 64, 65, 4095, 4096, 4097, 8192, 100000}) {
        const QByteArray bytes = RandomBytes(size, static_cast<quint32>(size));
        const QString path = writeFile(QStringLiteral("data_%1.bin").arg(size), bytes);
        SCOPED_TRACE(size);

        QString md5;
        QString md4;
        QString md2;
        ASSERT_EQ(HashFile(HASH_MD5, path, md5), HASH_OK);
        ASSERT_EQ(HashFile(HASH_MD4, path, md4), HASH_OK);
        ASSERT_EQ(HashFile(HASH_MD2, path, md2), HASH_OK);
        EXPECT_EQ(md5, QtDigest(bytes, QCryptographicHash::Md5));
        EXPECT_EQ(md4, QtDigest(bytes, QCryptographicHash::Md4));
        QString md2OfBytes;
        ASSERT_EQ(HashString(HASH_MD2, bytes, md2OfBytes), HASH_OK);
        EXPECT_EQ(md2, md2OfBytes);
    }
}

TEST_F(FileDigest, FailuresLeaveTheOutputUntouched)
{
    struct Case
    {
        const char* what;
        QString path;
        quint32 algorithm;
        qint32 result;
    };
    const QString existing = writeFile(QStringLiteral("fax.tif"), "some bytes");
    const std::vector<Case> cases = {
        // The first read of an empty file returns nothing.
        {"empty file", writeFile(QStringLiteral("empty.tif"), {}), HASH_MD5, HASH_ERROR_READ},
        {"missing file", pathOf(QStringLiteral("missing.tif")), HASH_MD5, HASH_ERROR_FILE},
        {"folder", pathOf(QString()), HASH_MD5, HASH_ERROR_FILE},
        {"selector 256", existing, 256, HASH_ERROR_ALGORITHM},
        {"selector 260", existing, 260, HASH_ERROR_ALGORITHM},
    };
    for (const Case& c : cases) {
        QString digest = QStringLiteral("untouched");
        EXPECT_EQ(HashFile(c.algorithm, c.path, digest), c.result) << c.what;
        EXPECT_EQ(digest, QStringLiteral("untouched")) << c.what;
    }
}

TEST_F(FileDigest, FileSizeByName)
{
    EXPECT_EQ(FileSizeByName(writeFile(QStringLiteral("five.bin"), "12345")), 5);
    EXPECT_EQ(FileSizeByName(writeFile(QStringLiteral("none.bin"), {})), 0);
    EXPECT_EQ(FileSizeByName(pathOf(QStringLiteral("missing.bin"))), -1);
}

TEST_F(FileDigest, RangeFeedsExactlyTheRequestedBytes)
{
    const QByteArray bytes = RandomBytes(10000, 7);
    const QString path = writeFile(QStringLiteral("range.bin"), bytes);
    struct Range
    {
        quint32 start;
        quint32 end;
    };
    // Inside one read, across read boundaries, up to the very end, and empty.
    for (const Range r : {Range{10, 20}, Range{4000, 4200}, Range{100, 8193}, Range{0, 10000},
                          Range{9999, 10000}, Range{500, 500}}) {
        THashContext context;
        ASSERT_EQ(HashInit(&context, HASH_MD5), HASH_OK);
        EXPECT_TRUE(HashFileRange(&context, path, r.start, r.end)) << r.start << ".." << r.end;
        QString digest;
        ASSERT_EQ(HashFinal(&context, digest), HASH_OK);
        EXPECT_EQ(digest, QtDigest(bytes.mid(r.start, r.end - r.start), QCryptographicHash::Md5))
            << r.start << ".." << r.end;
    }
}

TEST_F(FileDigest, RangeBeyondTheEndOrWithoutHandleFails)
{
    const QString path = writeFile(QStringLiteral("short.bin"), RandomBytes(5000, 9));
    THashContext context;
    ASSERT_EQ(HashInit(&context, HASH_MD5), HASH_OK);
    EXPECT_FALSE(HashFileRange(&context, path, 0, 5001));
    EXPECT_FALSE(HashFileRange(&context, path, 5000, 5000));
    EXPECT_FALSE(HashFileRange(&context, path, 6000, 7000));
    EXPECT_FALSE(HashFileRange(&context, pathOf(QStringLiteral("missing.bin")), 0, 1));
    EXPECT_FALSE(HashFileRange(nullptr, path, 0, 100));
    THashContext uninitialised;
    EXPECT_FALSE(HashFileRange(&uninitialised, path, 0, 100));
}

TEST_F(FileDigest, FilesBeyondFourGibibytesAreRefusedRatherThanDigestedInPart)
{
    // A sparse file: 4 GiB and 10 bytes long, hardly any of it on disk.
    const QString path = pathOf(QStringLiteral("huge.bin"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    if (!file.resize(Q_INT64_C(0x100000000) + 10))
        GTEST_SKIP() << "this file system cannot hold a sparse 4 GiB file";
    file.close();

    QString digest = QStringLiteral("untouched");
    EXPECT_EQ(HashFile(HASH_MD5, path, digest), HASH_ERROR_FILE);
    EXPECT_EQ(digest, QStringLiteral("untouched"));
}
