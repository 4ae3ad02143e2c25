#include "i18n/core/LocalizedConstants.h"
#include "i18n/core/LanguageManager.h"
#include "i18n/core/MessageFormat.h"

#include <QSet>

#include <gtest/gtest.h>

TEST(LocalizedConstants, TableHoldsTheTwentyFiveNamedTexts)
{
    const auto& table = LocalizedConstants::builtIn();
    ASSERT_EQ(table.size(), 25u);
    QSet<QString> names;
    for (const auto& entry : table) {
        names.insert(QString::fromLatin1(entry.name).toLower());
        EXPECT_NE(QString::fromUtf8(entry.english), QString()) << entry.name;
    }
    EXPECT_EQ(names.size(), 25) << "names must be unique without regard to case";
}

TEST(LocalizedConstants, LookupIgnoresCaseAndKeepsTextsExact)
{
    LocalizedConstants constants;
    EXPECT_EQ(constants.text(QStringLiteral("sapplymessage")),
              QStringLiteral("Apply page change?"));
    EXPECT_EQ(
        constants.text(QStringLiteral("SErrorCopyStamp")),
        QStringLiteral("Can`t copy file to stamps folder... Check user right and permissions!"));
    EXPECT_TRUE(constants.text(QStringLiteral("SStartCPError")).endsWith(QLatin1Char(' ')));
    EXPECT_EQ(constants.text(QStringLiteral("NoSuchName")),
              QStringLiteral("Constant \"NoSuchName\" not found"));
}

TEST(LocalizedConstants, TranslationsReplaceAndRestore)
{
    LocalizedConstants constants;
    constants.setText(QStringLiteral("SPAGE"), QStringLiteral("Seite"));
    constants.setText(QStringLiteral("Unknown"), QStringLiteral("ignored"));
    EXPECT_EQ(constants.text(QStringLiteral("SPage")), QStringLiteral("Seite"));
    constants.restoreBuiltIn();
    EXPECT_EQ(constants.text(QStringLiteral("SPage")), QStringLiteral("Page"));
}

TEST(LanguageManager, UnknownLanguageFallsBackToBuiltIn)
{
    auto& manager = LanguageManager::instance();
    manager.setCurrentLanguage(1049);
    EXPECT_EQ(manager.currentLanguage(), LanguageManager::kBuiltInLanguage);
    EXPECT_EQ(LangConst(QStringLiteral("SLayer")), QStringLiteral("Layer"));
}

TEST(MessageFormat, FillsPlaceholdersInOrder)
{
    struct Case
    {
        const char* pattern;
        QVariantList args;
        const char* expected;
    };
    const std::vector<Case> cases{
        {"Send message error: \"%s\". Check mail settings!",
         {QStringLiteral("timeout")},
         "Send message error: \"timeout\". Check mail settings!"},
        {"Rectangle: (x=%d, y=%d, w=%d ,h=%d)", {1, 2, 3, 4}, "Rectangle: (x=1, y=2, w=3 ,h=4)"},
        {"File \"%S\" already exists.",
         {QStringLiteral("a.bmp")},
         "File \"a.bmp\" already exists."},
        {"100%% sure %s", {QStringLiteral("x")}, "100% sure x"},
        {"missing %s and %d", {}, "missing  and "},
        {"trailing %", {}, "trailing %"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MessageFormat::Format(QString::fromUtf8(c.pattern), c.args),
                  QString::fromUtf8(c.expected))
            << c.pattern;
}
