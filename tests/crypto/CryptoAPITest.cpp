#include "crypto/core/CryptoAPI.h"

#include "tests/crypto/CryptoTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

TEST(IntToLowerHex, KeepsLeadingZerosAndDropsHigherDigits)
{
    struct Case
    {
        quint64 value;
        int digits;
        const char* text;
    };
    const std::vector<Case> cases = {
        {0x0F, 2, "0f"},
        {0x00, 2, "00"},
        {0xAB, 2, "ab"},
        {0x1234, 2, "34"},
        {0x1234, 6, "001234"},
        {0xFFFFFFFFFFFFFFFFULL, 16, "ffffffffffffffff"},
        {0xFFFFFFFFFFFFFFFFULL, 18, "00ffffffffffffffff"},
        {0x0123456789ABCDEFULL, 16, "0123456789abcdef"},
        {0xAB, 0, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IntToLowerHex(c.value, c.digits), QLatin1String(c.text))
            << std::hex << c.value << " in " << std::dec << c.digits << " digits";
    }
}

TEST(RotateLeft32, RotatesThroughTheTopBit)
{
    EXPECT_EQ(RotateLeft32(0x80000001U, 1), 0x00000003U);
    EXPECT_EQ(RotateLeft32(0x12345678U, 8), 0x34567812U);
    EXPECT_EQ(RotateLeft32(0x12345678U, 0), 0x12345678U);
    EXPECT_EQ(RotateLeft32(0x12345678U, 32), 0x12345678U);
}
