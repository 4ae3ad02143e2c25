#include "crypto/core/CryptoUtils.h"

#include "tests/crypto/CryptoTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct RfcCase
{
    const char* name;
    quint32 algorithm;
    const char* message;
    const char* digest;
};

const char* const kAlphabet = "abcdefghijklmnopqrstuvwxyz";
const char* const kAlphanumeric = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
const char* const kDigits80 =
    "12345678901234567890123456789012345678901234567890123456789012345678901234567890";

// The test suites of RFC 1319, 1320 and 1321.
const std::vector<RfcCase> kRfcSuites = {
    {"MD2_Empty", HASH_MD2, "", "8350e5a3e24c153df2275c9f80692773"},
    {"MD2_a", HASH_MD2, "a", "32ec01ec4a6dac72c0ab96fb34c0b5d1"},
    {"MD2_abc", HASH_MD2, "abc", "da853b0d3f88d99b30283a69e6ded6bb"},
    {"MD2_MessageDigest", HASH_MD2, "message digest", "ab4f496bfb2a530b219ff33031fe06b0"},
    {"MD2_Alphabet", HASH_MD2, kAlphabet, "4e8ddff3650292ab5a4108c3aa47940b"},
    {"MD2_Alphanumeric", HASH_MD2, kAlphanumeric, "da33def2a42df13975352846c30338cd"},
    {"MD2_Digits80", HASH_MD2, kDigits80, "d5976f79d83d3a0dc9806c3c66f3efd8"},
    {"MD4_Empty", HASH_MD4, "", "31d6cfe0d16ae931b73c59d7e0c089c0"},
    {"MD4_a", HASH_MD4, "a", "bde52cb31de33e46245e05fbdbd6fb24"},
    {"MD4_abc", HASH_MD4, "abc", "a448017aaf21d8525fc10ae87aa6729d"},
    {"MD4_MessageDigest", HASH_MD4, "message digest", "d9130a8164549fe818874806e1c7014b"},
    {"MD4_Alphabet", HASH_MD4, kAlphabet, "d79e1c308aa5bbcdeea8ed63df412da9"},
    {"MD4_Alphanumeric", HASH_MD4, kAlphanumeric, "043f8582f241db351ce627e153e7f0e4"},
    {"MD4_Digits80", HASH_MD4, kDigits80, "e33b4ddc9c38f2199c3e7b164fcc0536"},
    {"MD5_Empty", HASH_MD5, "", "d41d8cd98f00b204e9800998ecf8427e"},
    {"MD5_a", HASH_MD5, "a", "0cc175b9c0f1b6a831c399e269772661"},
    {"MD5_abc", HASH_MD5, "abc", "900150983cd24fb0d6963f7d28e17f72"},
    {"MD5_MessageDigest", HASH_MD5, "message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
    {"MD5_Alphabet", HASH_MD5, kAlphabet, "c3fcd3d76192e4007dfb496cca67e13b"},
    {"MD5_Alphanumeric", HASH_MD5, kAlphanumeric, "d174ab98d277d9f5a5611c2c9f419d9f"},
    {"MD5_Digits80", HASH_MD5, kDigits80, "57edf4a22be3c955ac49da2e2107b67a"},
};

void PrintTo(const RfcCase& c, std::ostream* os)
{
    *os << c.name;
}

class RfcSuite : public testing::TestWithParam<RfcCase>
{
};

TEST_P(RfcSuite, HashStringGivesTheRfcDigest)
{
    const RfcCase& c = GetParam();
    QString digest;
    ASSERT_EQ(HashString(c.algorithm, QByteArray(c.message), digest), HASH_OK);
    EXPECT_EQ(digest, QLatin1String(c.digest));
}

INSTANTIATE_TEST_SUITE_P(Digest, RfcSuite, testing::ValuesIn(kRfcSuites),
                         [](const testing::TestParamInfo<RfcCase>& info) {
                             return std::string(info.param.name);
                         });

QByteArray CountingBytes(int length)
{
    QByteArray bytes(length, Qt::Uninitialized);
    for (int i = 0; i < length; ++i)
        bytes[i] = static_cast<char>((i * 7 + 3) & 0xFF);
    return bytes;
}

QString DigestInPieces(quint32 algorithm, const QByteArray& bytes, const std::vector<int>& cuts)
{
    THashContext context;
    EXPECT_EQ(HashInit(&context, algorithm), HASH_OK);
    int from = 0;
    for (const int cut : cuts) {
        EXPECT_EQ(
            HashUpdate(&context, bytes.constData() + from, static_cast<std::size_t>(cut - from)),
            HASH_OK);
        from = cut;
    }
    EXPECT_EQ(HashUpdate(&context, bytes.constData() + from,
                         static_cast<std::size_t>(bytes.size() - from)),
              HASH_OK);
    QString digest;
    EXPECT_EQ(HashFinal(&context, digest), HASH_OK);
    return digest;
}

} // namespace

// Pieces that end inside a block, exactly on its end, just past it, span
// several blocks, or are empty must all give the one-piece digest.
TEST(Digest, PiecewiseUpdatesEqualOneUpdate)
{
    const QByteArray bytes = CountingBytes(300);
    const std::vector<std::vector<int>> cutLists = {
        {1},
        {15, 16, 17},
        {55},
        {56},
        {63},
        {64, 64},
        {65},
        {120},
        {128, 129, 255},
        {0, 0, 300},
        {7, 100},
        {200, 264},
        {31, 32, 33, 47, 48, 49, 119, 120, 121, 183, 184, 185},
    };
    for (const quint32 algorithm : {HASH_MD2, HASH_MD4, HASH_MD5}) {
        QString whole;
        ASSERT_EQ(HashString(algorithm, bytes, whole), HASH_OK);
        for (const auto& cuts : cutLists)
            EXPECT_EQ(DigestInPieces(algorithm, bytes, cuts), whole) << "algorithm " << algorithm;
    }
}

// Lengths around the 56-byte point where the length field no longer fits the
// last block, checked against Qt's own MD4 and MD5.
TEST(Digest, PaddingBoundariesMatchQtDigests)
{
    for (int length = 50; length <= 130; ++length) {
        const QByteArray bytes = CountingBytes(length);
        QString md4;
        QString md5;
        ASSERT_EQ(HashString(HASH_MD4, bytes, md4), HASH_OK);
        ASSERT_EQ(HashString(HASH_MD5, bytes, md5), HASH_OK);
        EXPECT_EQ(md4, QtDigest(bytes, QCryptographicHash::Md4)) << length;
        EXPECT_EQ(md5, QtDigest(bytes, QCryptographicHash::Md5)) << length;
    }
}

TEST(Digest, BytesAbove127AreDigestedAsStored)
{
    // A PIN typed in a national code page: these are windows-1251 bytes.
    const QByteArray pin("\xcf\xc8\xcd\x31\x32\xff\x80");
    QString digest;
    ASSERT_EQ(HashString(HASH_MD5, pin, digest), HASH_OK);
    EXPECT_EQ(digest, QtDigest(pin, QCryptographicHash::Md5));
}

TEST(Digest, TextsAreDigestedAsTheirUtf8Bytes)
{
    const QString pin = QStringLiteral("\u041f\u0418\u041d-\u00e9");
    QString fromText;
    QString fromBytes;
    ASSERT_EQ(HashString(HASH_MD5, pin, fromText), HASH_OK);
    ASSERT_EQ(HashString(HASH_MD5, pin.toUtf8(), fromBytes), HASH_OK);
    EXPECT_EQ(fromText, fromBytes);
    EXPECT_EQ(fromText, QtDigest(pin.toUtf8(), QCryptographicHash::Md5));
}

TEST(Digest, UnknownSelectorsLeaveTheOutputUntouched)
{
    for (const quint32 algorithm : {256U, 260U, 0U}) {
        QString digest = QStringLiteral("untouched");
        EXPECT_EQ(HashString(algorithm, QByteArray("1234"), digest), HASH_ERROR_ALGORITHM);
        EXPECT_EQ(digest, QStringLiteral("untouched"));

        THashContext context;
        EXPECT_EQ(HashInit(&context, algorithm), HASH_ERROR_ALGORITHM);
        EXPECT_EQ(context.Algorithm, algorithm);
        EXPECT_FALSE(context.State);
    }
}

TEST(DigestHandle, NoHandleGivesContextError)
{
    QString digest = QStringLiteral("untouched");
    EXPECT_EQ(HashInit(nullptr, HASH_MD5), HASH_ERROR_CONTEXT);
    EXPECT_EQ(HashUpdate(nullptr, "a", 1), HASH_ERROR_CONTEXT);
    EXPECT_EQ(HashFinal(nullptr, digest), HASH_ERROR_CONTEXT);
    EXPECT_EQ(digest, QStringLiteral("untouched"));
}

TEST(DigestHandle, WithoutStateUpdateAndFinalGiveStateError)
{
    THashContext fresh;
    QString digest = QStringLiteral("untouched");
    EXPECT_EQ(HashUpdate(&fresh, "a", 1), HASH_ERROR_STATE);
    EXPECT_EQ(HashFinal(&fresh, digest), HASH_ERROR_STATE);
    EXPECT_EQ(digest, QStringLiteral("untouched"));

    THashContext finished;
    ASSERT_EQ(HashInit(&finished, HASH_MD5), HASH_OK);
    ASSERT_EQ(HashFinal(&finished, digest), HASH_OK);
    EXPECT_FALSE(finished.State);
    EXPECT_EQ(HashUpdate(&finished, "a", 1), HASH_ERROR_STATE);
    EXPECT_EQ(HashFinal(&finished, digest), HASH_ERROR_STATE);
}

TEST(DigestHandle, CanBeUsedAgainAfterFinal)
{
    THashContext context;
    QString digest;
    for (const quint32 algorithm : {HASH_MD5, HASH_MD2, HASH_MD4}) {
        ASSERT_EQ(HashInit(&context, algorithm), HASH_OK);
        ASSERT_EQ(HashUpdate(&context, "abc", 3), HASH_OK);
        ASSERT_EQ(HashFinal(&context, digest), HASH_OK);
        QString expected;
        ASSERT_EQ(HashString(algorithm, "abc", expected), HASH_OK);
        EXPECT_EQ(digest, expected);
    }
}

TEST(DigestHandle, InitAgainStartsOver)
{
    THashContext context;
    ASSERT_EQ(HashInit(&context, HASH_MD2), HASH_OK);
    ASSERT_EQ(HashUpdate(&context, "discarded", 9), HASH_OK);
    ASSERT_EQ(HashInit(&context, HASH_MD5), HASH_OK);
    ASSERT_EQ(HashUpdate(&context, "abc", 3), HASH_OK);
    QString digest;
    ASSERT_EQ(HashFinal(&context, digest), HASH_OK);
    EXPECT_EQ(digest, QStringLiteral("900150983cd24fb0d6963f7d28e17f72"));
}

// A failed re-initialisation keeps the old state but records the bad
// selector, so the handle refuses to go on rather than mix algorithms.
TEST(DigestHandle, UnknownSelectorOnWorkingHandleStopsIt)
{
    THashContext context;
    ASSERT_EQ(HashInit(&context, HASH_MD5), HASH_OK);
    EXPECT_EQ(HashInit(&context, 260), HASH_ERROR_ALGORITHM);
    EXPECT_TRUE(context.State);
    EXPECT_EQ(HashUpdate(&context, "abc", 3), HASH_ERROR_ALGORITHM);
    QString digest = QStringLiteral("untouched");
    EXPECT_EQ(HashFinal(&context, digest), HASH_ERROR_ALGORITHM);
    EXPECT_EQ(digest, QStringLiteral("untouched"));
    EXPECT_TRUE(context.State);
}
