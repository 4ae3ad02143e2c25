// The fax number history: how the list is escaped into one value, and the
// most-recently-used rule; plus the text import that resets what it omits.
#include "settings/core/IniFile.h"
#include "settings/core/TIni.h"

#include "tests/support/TestFiles.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QString storedList(const QStringList& items)
{
    IniFile file;
    TIni::WriteList(file, QStringLiteral("Common"), QStringLiteral("LastFaxNumbers"), items);
    return file.readString(QStringLiteral("Common"), QStringLiteral("LastFaxNumbers"), QString());
}

QStringList listFromValue(const QString& value)
{
    const IniFile file = IniFile::fromText("[Common]\nLastFaxNumbers=" + value.toUtf8() + "\n");
    return TIni::ReadList(file, QStringLiteral("Common"), QStringLiteral("LastFaxNumbers"));
}

TEST(ListValue, EscapesSeparatorAndMark)
{
    const QStringList history{QStringLiteral("555-01;7"), QStringLiteral("12#3")};
    EXPECT_EQ(storedList(history), QStringLiteral("555-01#3B7;12#233"));
    EXPECT_EQ(listFromValue(QStringLiteral("555-01#3B7;12#233")), history);
}

TEST(ListValue, EmptyItems)
{
    const QStringList threeItems{QStringLiteral("a"), QString(), QStringLiteral("b")};
    EXPECT_EQ(listFromValue(QStringLiteral("a;;b")), threeItems);
    EXPECT_EQ(storedList(threeItems), QStringLiteral("a;;b"));
    // An empty first item leaves no trace in the value.
    EXPECT_EQ(storedList({QString(), QStringLiteral("b")}), QStringLiteral("b"));
    EXPECT_TRUE(listFromValue(QString()).isEmpty());
    // A separator at the end adds no item.
    EXPECT_EQ(listFromValue(QStringLiteral("a;")), QStringList{QStringLiteral("a")});
}

TEST(ListValue, EscapeAndUnescape)
{
    const struct
    {
        const char* text;
        const char* escaped;
    } escapes[] = {{"plain", "plain"}, {"#", "#23"}, {";", "#3B"}, {"a#;b", "a#23#3Bb"}};
    for (const auto& c : escapes) {
        EXPECT_EQ(TIni::EscapeValue(QString::fromUtf8(c.text), u';'), QString::fromUtf8(c.escaped));
        EXPECT_EQ(TIni::UnescapeValue(QString::fromUtf8(c.escaped)), QString::fromUtf8(c.text));
    }
    // The special character "#" is escaped as the mark itself.
    EXPECT_EQ(TIni::EscapeValue(QStringLiteral("a#b"), u'#'), QStringLiteral("a#23b"));

    const struct
    {
        const char* escaped;
        QString text;
    } unescapes[] = {
        {"#41#62", QStringLiteral("Ab")},
        {"x#zzy", QStringLiteral("x y")},     // not hexadecimal: a blank
        {"#4", QString(QChar(4))},            // the end is taken as far as it goes
        {"ab#", QStringLiteral("ab ")},       // nothing after the mark: a blank
        {"# 1x", QStringLiteral(" x")},       // blanks are no digits
        {"#C3#A9", QStringLiteral("\u00e9")}, // bytes of a UTF-8 character
    };
    for (const auto& c : unescapes)
        EXPECT_EQ(TIni::UnescapeValue(QString::fromUtf8(c.escaped)), c.text) << c.escaped;
}

QStringList numbered(int count)
{
    QStringList list;
    for (int i = 1; i <= count; ++i)
        list.append(QStringLiteral("number %1").arg(i));
    return list;
}

TEST(FaxNumberHistory, NewNumberGoesOnTopAndOldestFallsOff)
{
    TIni ini;
    ini.HistoryCount = 20;
    ini.LastFaxNumbers = numbered(20);
    ini.AddFaxNumberToHistory(QStringLiteral("4951234567 (offer)"));
    ASSERT_EQ(ini.LastFaxNumbers.size(), 20);
    EXPECT_EQ(ini.LastFaxNumbers.first(), QStringLiteral("4951234567 (offer)"));
    EXPECT_EQ(ini.LastFaxNumbers.at(1), QStringLiteral("number 1"));
    EXPECT_EQ(ini.LastFaxNumbers.last(), QStringLiteral("number 19"));
}

TEST(FaxNumberHistory, KnownNumberMovesToTopInItsNewSpelling)
{
    TIni ini;
    ini.HistoryCount = 20;
    ini.LastFaxNumbers = numbered(20);
    ini.AddFaxNumberToHistory(QStringLiteral("NUMBER 7"));
    ASSERT_EQ(ini.LastFaxNumbers.size(), 20);
    EXPECT_EQ(ini.LastFaxNumbers.first(), QStringLiteral("NUMBER 7"));
    EXPECT_FALSE(ini.LastFaxNumbers.contains(QStringLiteral("number 7")));
    EXPECT_EQ(ini.LastFaxNumbers.last(), QStringLiteral("number 20"));
}

TEST(FaxNumberHistory, LimitAppliesAtTheNextAddition)
{
    TIni ini;
    ini.LoadFromStrings({QStringLiteral("[Common]"), QStringLiteral("HistoryCount=2"),
                         QStringLiteral("LastFaxNumbers=1;2;3;4")});
    EXPECT_EQ(ini.LastFaxNumbers.size(), 4); // not trimmed when read
    ini.AddFaxNumberToHistory(QStringLiteral("5"));
    EXPECT_EQ(ini.LastFaxNumbers, (QStringList{QStringLiteral("5"), QStringLiteral("1")}));

    for (const int limit : {0, -3}) {
        ini.HistoryCount = limit;
        ini.AddFaxNumberToHistory(QStringLiteral("6"));
        EXPECT_TRUE(ini.LastFaxNumbers.isEmpty()) << limit;
    }
}

TEST(TextImport, ResetsEverythingItDoesNotGive)
{
    const QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("quillon2.ini"));
    testfiles::write(path, "[Email]\nEMailServer=smtp.example.net\nEMailAuth=1\n"
                           "[Common]\nLanguageID=1049\nLastFaxNumbers=1;2\n"
                           "[Info]\nCardName=777\nPassMode=0\n[Draw]\nFontName=Courier\n");
    TIni ini;
    ini.LoadFromFile(path);
    ASSERT_EQ(ini.LanguageID, 1049);

    ini.LoadFromStrings({QStringLiteral("[Info]"), QStringLiteral("CardName=123")});
    EXPECT_EQ(ini.CardName, QStringLiteral("123"));
    EXPECT_EQ(ini.LanguageID, 1033);
    EXPECT_EQ(ini.EMailServer, QString());
    EXPECT_FALSE(ini.EMailAuth);
    EXPECT_EQ(ini.PassMode, 1);
    EXPECT_EQ(ini.FontName, QStringLiteral("Arial"));
    EXPECT_TRUE(ini.LastFaxNumbers.isEmpty());
    EXPECT_EQ(ini.FileName, path); // the import does not change where the settings live
}

} // namespace
