#include "send/core/FaxNumber.h"

#include <gtest/gtest.h>

namespace {

struct NumberCase
{
    const char* name;
    QString text;
    QString number;
};

class ExtractFaxNumberTest : public ::testing::TestWithParam<NumberCase>
{
};

TEST_P(ExtractFaxNumberTest, TakesTheLeadingDigits)
{
    EXPECT_EQ(ExtractFaxNumber(GetParam().text), GetParam().number);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ExtractFaxNumberTest,
    ::testing::Values(NumberCase{"WithComment", "123456 (My Favorite Client)", "123456"},
                      NumberCase{"DigitsOnly", "0049301234567", "0049301234567"},
                      NumberCase{"Hyphenated", "12-34", "12"}, NumberCase{"Empty", "", ""},
                      NumberCase{"LeadingBlank", " 123", ""},
                      NumberCase{"LeadingPlus", "+49301234", ""},
                      NumberCase{"LeadingParenthesis", "(My Favorite Client)", ""},
                      NumberCase{"Letter", "a123", ""},
                      NumberCase{"ArabicIndicDigits", QString::fromUtf8("\u0661\u0662"), ""},
                      NumberCase{"DigitThenTab", "7\t8", "7"}),
    [](const ::testing::TestParamInfo<NumberCase>& info) { return info.param.name; });

} // namespace
