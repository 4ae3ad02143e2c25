#pragma once

#include <QByteArray>
#include <QString>

// What the system knows about a language identifier (the 16-bit Windows
// language identifier that language files and the settings use): its locale,
// its name for people, and the 8-bit code page its texts were written in.
class LanguageNames
{
public:
    static constexpr int kEnglishUnitedStates = 1033;

    // "ru_RU" for 1049; empty when the identifier names no locale.
    static QString localeName(int languageId);
    // The language's name as the system gives it in the display language
    // ("Russian (Russia)" in English, "русский (Россия)" in Russian). An
    // identifier that names no locale is shown as its number.
    static QString displayName(int languageId, int displayLanguageId);
    // The language identifier of the user's locale; English (United States)
    // when the locale has none (the "C" locale, for one).
    static int systemDefaultLanguageId();
    // The identifier of a locale name such as "de_DE"; 0 when it has none.
    static int languageIdOfLocale(const QString& localeName);

    // The ANSI code page of a language, as a converter name ("windows-1251").
    static QByteArray ansiCodePage(int languageId);
    // 8-bit text of that code page.
    static QString decodeAnsi(const QByteArray& bytes, int languageId);
};

// The language the user's system is set to, for the first start.
int SystemDefaultLanguageId();
