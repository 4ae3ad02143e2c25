#include "crypto/core/PasswordValue.h"

#include "crypto/core/CryptoUtils.h"
#include "tests/crypto/CryptoTestSupport.h"
#include "tests/support/TestFiles.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

namespace {

// MD5 of "1234", as the settings keep a PIN digest.
const QString kStoredDigest = QStringLiteral("81dc9bdb52d04dc20036dbd8313ed055");

QString Md5Text(const QByteArray& bytes)
{
    return QtDigest(bytes, QCryptographicHash::Md5);
}

} // namespace

TEST(BuildPasswordValue, FollowsThePinSendMode)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QByteArray faxImage = QByteArray("II*\0", 4) + QByteArray(5000, '\x5a');
    const QString fax = folder.filePath(QStringLiteral("file_20240101120000000.tif"));
    testfiles::write(fax, faxImage);
    const QString emptyFax = folder.filePath(QStringLiteral("empty.tif"));
    testfiles::write(emptyFax, {});
    const QString missingFax = folder.filePath(QStringLiteral("missing.tif"));
    const QString fileDigest = Md5Text(faxImage);

    struct Case
    {
        const char* what;
        QString stored;
        int mode;
        QString path;
        QString value;
    };
    const std::vector<Case> cases = {
        {"simple", kStoredDigest, kPassModeSimple, fax, kStoredDigest},
        {"simple, nothing stored", QString(), kPassModeSimple, fax, QString()},
        {"simple, missing file", kStoredDigest, kPassModeSimple, missingFax, kStoredDigest},
        {"strong", kStoredDigest, kPassModeStrong, fax,
         Md5Text(kStoredDigest.toLatin1() + fileDigest.toLatin1())},
        {"strong, nothing stored", QString(), kPassModeStrong, fax, Md5Text(fileDigest.toLatin1())},
        {"strong, hand-written stored value", QStringLiteral("Not A Digest"), kPassModeStrong, fax,
         Md5Text("Not A Digest" + fileDigest.toLatin1())},
        {"strong, missing file", kStoredDigest, kPassModeStrong, missingFax, QString()},
        {"strong, empty file", kStoredDigest, kPassModeStrong, emptyFax, QString()},
        {"mode 2", kStoredDigest, 2, fax, QString()},
        {"mode -1", kStoredDigest, -1, fax, QString()},
    };
    for (const Case& c : cases)
        EXPECT_EQ(BuildPasswordValue(c.stored, c.mode, c.path), c.value) << c.what;
}
