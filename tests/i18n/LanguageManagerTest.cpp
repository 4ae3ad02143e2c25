// Language files on disk: which files count as languages, the language list
// with its names, switching the constants, older 8-bit files, and files that
// cannot be used.
#include "i18n/core/LanguageManager.h"
#include "i18n/core/LanguageFile.h"
#include "i18n/core/LanguageNames.h"

#include "tests/support/TestFiles.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QByteArray kGerman = "LANGID=1031\n[$CONSTANTS]\nSPage=Seite\n";

// Every test starts and ends with the built-in language and no files.
class LanguageFolder : public ::testing::Test
{
protected:
    void TearDown() override
    {
        manager().setCurrentLanguage(LanguageManager::kBuiltInLanguage);
        QTemporaryDir empty;
        manager().registerLanguageFiles(empty.path());
    }

    static LanguageManager& manager() { return LanguageManager::instance(); }

    QString file(const QString& name, const QByteArray& bytes)
    {
        const QString path = m_dir.filePath(name);
        testfiles::write(path, bytes);
        return path;
    }

    std::vector<int> scan()
    {
        manager().registerLanguageFiles(m_dir.path());
        std::vector<int> ids;
        for (int i = 0; i < manager().languageCount(); ++i)
            ids.push_back(manager().languageId(i));
        return ids;
    }

    QTemporaryDir m_dir;
};

TEST_F(LanguageFolder, NoFileLeavesOnlyTheBuiltInLanguage)
{
    file("readme.txt", "LANGID=1049\n");
    EXPECT_EQ(scan(), std::vector<int>{1033});
    EXPECT_EQ(manager().languageName(0), "English (United States)");
}

struct ScanCase
{
    const char* name;
    std::vector<std::pair<const char*, QByteArray>> files;
    std::vector<int> languages;
    const char* pathOf1031; // file name registered for 1031, if any
};

class LanguageScan : public LanguageFolder, public ::testing::WithParamInterface<ScanCase>
{
};

TEST_P(LanguageScan, RegistersLanguageFilesOnly)
{
    for (const auto& [name, bytes] : GetParam().files)
        file(QString::fromLatin1(name), bytes);
    EXPECT_EQ(scan(), GetParam().languages);
    if (GetParam().pathOf1031) {
        EXPECT_EQ(manager().languageFile(1031),
                  m_dir.filePath(QString::fromLatin1(GetParam().pathOf1031)));
    }
}

const ScanCase kScanCases[] = {
    {"TwoLanguages",
     {{"german.lng", kGerman}, {"russian.lng", "LANGID=1049\n"}},
     {1033, 1031, 1049},
     "german.lng"},
    {"SameIdListedOnceLaterFileWins",
     {{"a.lng", kGerman}, {"b.lng", kGerman}},
     {1033, 1031},
     "b.lng"},
    {"BuiltInIdAddsNothing", {{"english.lng", "LANGID=1033\n"}}, {1033}, nullptr},
    {"MissingId", {{"none.lng", "; no id\n[$CONSTANTS]\nSPage=x\n"}}, {1033}, nullptr},
    {"ZeroId", {{"zero.lng", "LANGID=0\n"}}, {1033}, nullptr},
    {"IdNotANumber", {{"word.lng", "LANGID=German\n"}}, {1033}, nullptr},
    {"IdInsideSectionDoesNotCount", {{"late.lng", "[x]\nLANGID=1031\n"}}, {1033}, nullptr},
    {"CommentsAndBomBeforeId",
     {{"bom.lng", "\xEF\xBB\xBF; German\n\nLANGID = 1031\n"}},
     {1033, 1031},
     "bom.lng"},
};

INSTANTIATE_TEST_SUITE_P(Table, LanguageScan, ::testing::ValuesIn(kScanCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(LanguageFolder, SwitchingChangesConstantsAndBackRestoresThem)
{
    file("german.lng", kGerman);
    scan();
    std::vector<int> changed;
    const QMetaObject::Connection connection =
        QObject::connect(&manager(), &LanguageManager::languageChanged,
                         [&changed](int id) { changed.push_back(id); });

    ASSERT_TRUE(manager().setCurrentLanguage(1031).ok());
    EXPECT_EQ(manager().currentLanguage(), 1031);
    EXPECT_EQ(LangConst("SPage"), "Seite");
    EXPECT_EQ(LangConst("spage"), "Seite");
    // Not translated by the file: English.
    EXPECT_EQ(LangConst("SLayer"), "Layer");

    ASSERT_TRUE(manager().setCurrentLanguage(1031).ok()); // no change, no signal
    ASSERT_TRUE(manager().setCurrentLanguage(1033).ok());
    EXPECT_EQ(LangConst("SPage"), "Page");
    QObject::disconnect(connection);
    EXPECT_EQ(changed, (std::vector<int>{1031, 1033}));
}

TEST_F(LanguageFolder, UnregisteredLanguageFallsBackToBuiltIn)
{
    file("german.lng", kGerman);
    scan();
    ASSERT_TRUE(manager().setCurrentLanguage(1031).ok());
    ASSERT_TRUE(manager().setCurrentLanguage(1049).ok());
    EXPECT_EQ(manager().currentLanguage(), 1033);
    EXPECT_EQ(LangConst("SPage"), "Page");
}

TEST_F(LanguageFolder, Windows1251FileLoads)
{
    // "Страница" in windows-1251: not valid UTF-8.
    file("russian.lng",
         "LANGID=1049\r\n[$CONSTANTS]\r\nSPage=\xD1\xF2\xF0\xE0\xED\xE8\xF6\xE0\r\n");
    scan();
    ASSERT_TRUE(manager().setCurrentLanguage(1049).ok());
    EXPECT_EQ(LangConst("SPage"), QString::fromUtf8("Страница"));
}

TEST_F(LanguageFolder, Utf8FileLoads)
{
    file("russian.lng", QString::fromUtf8("LANGID=1049\n[$CONSTANTS]\nSLayer=Слой\n"
                                          "SRectangle=Прямоугольник: (x=%d)\n")
                            .toUtf8());
    scan();
    ASSERT_TRUE(manager().setCurrentLanguage(1049).ok());
    EXPECT_EQ(LangConst("SLayer"), QString::fromUtf8("Слой"));
    EXPECT_EQ(LangConst("SRectangle"), QString::fromUtf8("Прямоугольник: (x=%d)"));
}

TEST_F(LanguageFolder, UnparsableFileLeavesTheLanguageAsItWas)
{
    file("german.lng", kGerman);
    file("broken.lng", "LANGID=1036\n[$CONSTANTS]\nSPage=Page\nthis line has no value\n");
    scan();
    ASSERT_TRUE(manager().setCurrentLanguage(1031).ok());
    const Status failed = manager().setCurrentLanguage(1036);
    EXPECT_FALSE(failed.ok());
    EXPECT_EQ(failed.text(), "Loading translations failed.\r\nLine 4: \"=\" expected");
    EXPECT_EQ(manager().currentLanguage(), 1031);
    EXPECT_EQ(LangConst("SPage"), "Seite");
}

TEST_F(LanguageFolder, FileRemovedAfterTheScanIsReported)
{
    const QString path = file("german.lng", kGerman);
    scan();
    QFile::remove(path);
    const Status failed = manager().setCurrentLanguage(1031);
    EXPECT_FALSE(failed.ok());
    EXPECT_TRUE(failed.text().contains("german.lng"));
    EXPECT_EQ(manager().currentLanguage(), 1033);
}

TEST(LanguageFileParse, SectionsEntriesAndEscapes)
{
    const Result<LanguageFile> parsed = LanguageFile::parse(
        "; comment\nLANGID=1031\n\n[FaxOptionsForm]\n btOK.text = OK \nbtOK.TEXT=second\n"
        "cb.items=a|b\\|c|\n[$Constants]\nSPage=x\\ny\\\\z\n");
    ASSERT_TRUE(parsed.ok());
    const LanguageFile& f = parsed.value();
    EXPECT_EQ(f.languageId(), 1031);
    EXPECT_EQ(f.value("faxoptionsform", "btok.text"), QString("OK")); // first one counts
    EXPECT_EQ(LanguageFile::splitItems(*f.value("FaxOptionsForm", "cb.items")),
              (QStringList{"a", "b|c", ""}));
    EXPECT_EQ(LanguageFile::unescape(*f.value("$CONSTANTS", "SPage")), "x\ny\\z");
    EXPECT_FALSE(f.value("FaxOptionsForm", "missing").has_value());
    EXPECT_FALSE(f.value("NoSection", "btOK.text").has_value());
}

TEST(LanguageFileParse, EscapedItemsReadBackAsWritten)
{
    const QStringList items{"a|b", "c\nd", "e\\", ""};
    EXPECT_EQ(LanguageFile::splitItems(LanguageFile::joinItems(items)), items);
    EXPECT_EQ(LanguageFile::unescape(LanguageFile::escape("x|y\nz")), "x|y\nz");
}

TEST(LanguageFileParse, FailuresNameTheLine)
{
    EXPECT_EQ(LanguageFile::parse("LANGID=1\n[open").status().text(),
              "Loading translations failed.\r\nLine 2: \"]\" expected");
    EXPECT_EQ(LanguageFile::parse("[s]\n=value").status().text(),
              "Loading translations failed.\r\nLine 2: Entry name expected");
}

struct NameCase
{
    int language;
    int display;
    const char* expected;
};

TEST(LanguageNamesTest, DisplayNamesFromTheLocale)
{
    const NameCase cases[] = {
        {1033, 1033, "English (United States)"},
        {1049, 1033, "Russian (Russia)"},
        {1031, 1033, "German (Germany)"},
        {1049, 1049, "русский (Россия)"},
        {1033, 1049, "английский (Соединенные Штаты)"},
        {0x7fff, 1033, "32767"},
    };
    for (const NameCase& c : cases)
        EXPECT_EQ(LanguageNames::displayName(c.language, c.display), QString::fromUtf8(c.expected))
            << c.language << " in " << c.display;
}

TEST(LanguageNamesTest, LocalesAndCodePages)
{
    EXPECT_EQ(LanguageNames::localeName(1049), "ru_RU");
    EXPECT_EQ(LanguageNames::languageIdOfLocale("ru_RU"), 1049);
    EXPECT_EQ(LanguageNames::languageIdOfLocale("de_DE"), 1031);
    EXPECT_EQ(LanguageNames::languageIdOfLocale("en_US"), 1033);
    EXPECT_GT(SystemDefaultLanguageId(), 0);
    EXPECT_EQ(LanguageNames::ansiCodePage(1049), "windows-1251");
    EXPECT_EQ(LanguageNames::ansiCodePage(1058), "windows-1251"); // Ukrainian
    EXPECT_EQ(LanguageNames::ansiCodePage(1045), "windows-1250"); // Polish
    EXPECT_EQ(LanguageNames::ansiCodePage(1031), "windows-1252");
    EXPECT_EQ(LanguageNames::decodeAnsi("\xE4", 1031), QString::fromUtf8("ä"));
}

} // namespace
