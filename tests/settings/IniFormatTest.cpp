// How single values are read: numbers, booleans, quoting, lengths, case, and
// the differences between a settings file and imported configuration text.
#include "settings/core/IniFile.h"
#include "settings/core/TIni.h"

#include "tests/support/TestFiles.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TIni loadedFromFile(const QByteArray& text)
{
    const QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("quillon2.ini"));
    testfiles::write(path, text);
    TIni ini;
    ini.LoadFromFile(path);
    return ini;
}

struct IntegerCase
{
    const char* name;
    const char* value; // of EMailServerPort, whose default is 25
    int expected;
};

class IntegerValue : public testing::TestWithParam<IntegerCase>
{
};

TEST_P(IntegerValue, ReadsAsNumberOrDefault)
{
    const TIni ini =
        loadedFromFile(QByteArray("[Email]\nEMailServerPort=") + GetParam().value + "\n");
    EXPECT_EQ(ini.EMailServerPort, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    SettingsFile, IntegerValue,
    testing::Values(IntegerCase{"Decimal", "587", 587}, IntegerCase{"DollarHex", "$1D", 29},
                    IntegerCase{"ZeroXHex", "0x1D", 29}, IntegerCase{"UpperZeroXHex", "0X1d", 29},
                    IntegerCase{"Negative", "-7", -7}, IntegerCase{"Blanks", "  2525  ", 2525},
                    IntegerCase{"Quoted", "\"2525\"", 2525}, IntegerCase{"Letters", "abc", 25},
                    IntegerCase{"Empty", "", 25}, IntegerCase{"TrailingJunk", "12abc", 25},
                    IntegerCase{"BareDollar", "$", 25}, IntegerCase{"BareZeroX", "0x", 25},
                    IntegerCase{"DecimalOverflow", "2147483648", 25},
                    IntegerCase{"LowestInteger", "-2147483648", -2147483647 - 1},
                    IntegerCase{"HexAllBits", "$FFFFFFFF", -1},
                    IntegerCase{"HexOverflow", "$100000000", 25},
                    IntegerCase{"Fraction", "25.5", 25}),
    [](const testing::TestParamInfo<IntegerCase>& info) { return info.param.name; });

TEST(BooleanValue, IsAnIntegerThatIsTrueWhenNotZero)
{
    const struct
    {
        const char* value;
        bool expected;
    } cases[] = {{"1", true},   {"0", false},   {"2", true},    {"-1", true},
                 {"$0", false}, {"abc", false}, {"true", false}};
    for (const auto& c : cases) {
        const TIni ini = loadedFromFile(QByteArray("[Email]\nEMailAuth=") + c.value + "\n");
        EXPECT_EQ(ini.EMailAuth, c.expected) << c.value;
    }
    // A non-number falls back to the key's own default, which is true here.
    EXPECT_TRUE(loadedFromFile("[Email]\nEMailServerVerifySSL=yes\n").EMailServerVerifySSL);
}

struct StringCase
{
    const char* name;
    QByteArray file;
    QString TIni::*field;
    QString expected;
};

class StringValue : public testing::TestWithParam<StringCase>
{
};

TEST_P(StringValue, ReadsFromSettingsFile)
{
    const TIni ini = loadedFromFile(GetParam().file);
    EXPECT_EQ(ini.*(GetParam().field), GetParam().expected);
}

const QString kLongValue(3000, u'x');

INSTANTIATE_TEST_SUITE_P(
    SettingsFile, StringValue,
    testing::Values(
        StringCase{"Plain", "[Email]\nEMailServer=smtp.example.net\n", &TIni::EMailServer,
                   "smtp.example.net"},
        StringCase{"BlanksDropped", "[Email]\nEMailServer =   smtp.example.net  \n",
                   &TIni::EMailServer, "smtp.example.net"},
        StringCase{"DoubleQuotesDropped", "[Email]\nEMailPass=\" secret \"\n", &TIni::EMailPass,
                   " secret "},
        StringCase{"SingleQuotesDropped", "[Email]\nEMailPass='secret'\n", &TIni::EMailPass,
                   "secret"},
        StringCase{"UnbalancedQuoteKept", "[Email]\nEMailPass=\"secret\n", &TIni::EMailPass,
                   "\"secret"},
        StringCase{"MixedQuotesKept", "[Email]\nEMailPass=\"secret'\n", &TIni::EMailPass,
                   "\"secret'"},
        StringCase{"EqualsInValue", "[Email]\nEMailPass=a=b\n", &TIni::EMailPass, "a=b"},
        StringCase{"CutAfter2047", "[Info]\nCardName=" + kLongValue.toUtf8() + "\n",
                   &TIni::CardName, kLongValue.left(IniFile::kMaxFileValueLength)},
        StringCase{"SectionAndKeyIgnoreCase", "[eMaIl]\nemailserver=host\n", &TIni::EMailServer,
                   "host"},
        StringCase{"SectionHeaderWithBlanks", "  [ Email ]  \n  EMailServer=host\n",
                   &TIni::EMailServer, "host"},
        StringCase{"FirstKeyWins", "[Email]\nEMailServer=first\nEMailServer=second\n",
                   &TIni::EMailServer, "first"},
        StringCase{"FirstSectionWins", "[Email]\nEMailName=a\n[EMAIL]\nEMailServer=b\n",
                   &TIni::EMailServer, ""},
        StringCase{"KeyOfOtherSection", "[Info]\nEMailServer=host\n", &TIni::EMailServer, ""},
        StringCase{"KeyBeforeAnySection", "EMailServer=host\n[Email]\n", &TIni::EMailServer, ""},
        StringCase{"CommentLine", "[Email]\n;EMailServer=host\n", &TIni::EMailServer, ""},
        StringCase{"EmptyValueIsNotDefault", "[Draw]\nFontName=\n", &TIni::FontName, ""},
        StringCase{"MissingKeyGivesDefault", "[Draw]\n", &TIni::FontName, "Arial"},
        StringCase{"CarriageReturns", "[Email]\r\nEMailServer=host\r\n", &TIni::EMailServer,
                   "host"},
        StringCase{"ByteOrderMark", "\xEF\xBB\xBF[Email]\nEMailServer=host\n", &TIni::EMailServer,
                   "host"},
        StringCase{"Utf8", "[Info]\nReplyAddress=j\xC3\xBCrgen@example.net\n", &TIni::ReplyAddress,
                   QString::fromUtf8("j\xC3\xBCrgen@example.net")}),
    [](const testing::TestParamInfo<StringCase>& info) { return info.param.name; });

struct ImportCase
{
    const char* name;
    QStringList lines;
    QString TIni::*field;
    QString expected;
};

class ImportedValue : public testing::TestWithParam<ImportCase>
{
};

TEST_P(ImportedValue, ReadsFromText)
{
    TIni ini;
    ini.LoadFromStrings(GetParam().lines);
    EXPECT_EQ(ini.*(GetParam().field), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    TextImport, ImportedValue,
    testing::Values(
        ImportCase{"LinesTrimmed", {"  [Info]  ", "  CardName = 123  "}, &TIni::CardName, "123"},
        ImportCase{"QuotesKept", {"[Info]", "CardName='123'"}, &TIni::CardName, "'123'"},
        ImportCase{
            "NoLengthLimit", {"[Info]", "CardName=" + kLongValue}, &TIni::CardName, kLongValue},
        ImportCase{
            "FirstOccurrenceWins", {"[Info]", "CardName=1", "cardname=2"}, &TIni::CardName, "1"},
        ImportCase{"CommentSkipped", {"[Info]", "; CardName=1"}, &TIni::CardName, ""},
        ImportCase{"BeforeFirstSectionIgnored", {"CardName=1", "[Info]"}, &TIni::CardName, ""},
        ImportCase{"SectionIgnoresCase", {"[INFO]", "CARDNAME=7"}, &TIni::CardName, "7"}),
    [](const testing::TestParamInfo<ImportCase>& info) { return info.param.name; });

TEST(IniFile, ParsesIntegersLikeTheReader)
{
    qint32 value = 0;
    EXPECT_TRUE(IniFile::parseInteger(QStringLiteral("$ff000005"), &value));
    EXPECT_EQ(static_cast<quint32>(value), 0xFF000005u);
    EXPECT_TRUE(IniFile::parseInteger(QStringLiteral("+12"), &value));
    EXPECT_EQ(value, 12);
    EXPECT_FALSE(IniFile::parseInteger(QStringLiteral("1 2"), &value));
    EXPECT_FALSE(IniFile::parseInteger(QString(QChar(0x0663)), &value)); // Arabic-Indic three
}

} // namespace
