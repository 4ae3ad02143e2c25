#include "about/core/VersionRecord.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

TEST(VersionRecord, FileVersionIsFourDottedNumbers)
{
    const QString version = VersionRecord::value(QStringLiteral("FileVersion"));
    EXPECT_TRUE(
        QRegularExpression(QStringLiteral("^\\d+\\.\\d+\\.\\d+\\.\\d+$")).match(version).hasMatch())
        << version.toStdString();
}

TEST(VersionRecord, KnowsItsKeysAndNothingElse)
{
    for (const QString& key : VersionRecord::keys())
        EXPECT_FALSE(VersionRecord::value(key).isEmpty()) << key.toStdString();
    EXPECT_EQ(VersionRecord::value(QStringLiteral("ProductName")), QStringLiteral("Quillon"));
    EXPECT_TRUE(VersionRecord::value(QStringLiteral("NoSuchKey")).isEmpty());
    EXPECT_FALSE(VersionRecord::gatewayAddress().isEmpty());
}
