// The Russian language file that ships with the program: it is a language
// file of its own language, UTF-8, and it gives every named text and every
// caption, hint and list item of every window. A failure lists what is
// missing, ready to be translated.
#include "app/ui/TNewDocForm.h"
#include "editor/ui/EditorHost.h"
#include "editor/ui/TFaxEditForm.h"
#include "i18n/core/LanguageFile.h"
#include "i18n/core/LocalizedConstants.h"
#include "i18n/ui/LanguageController.h"
#include "send/ui/TAddParamForm.h"
#include "send/ui/TFaxSendProgressForm.h"
#include "settings/core/TIni.h"
#include "settings/ui/TFaxOptionsForm.h"
#include "settings/ui/TFaxStartConfigFTForm.h"
#include "settings/ui/TFaxStartConfigForm.h"

#include "tests/support/ScriptedPrompter.h"
#include "tests/support/TestFiles.h"

#include <QStringDecoder>

#include <gtest/gtest.h>

#include <functional>
#include <iostream>
#include <memory>

namespace {

const QString kRussianFile = QStringLiteral(QUILLON_SOURCE_DIR "/lang/russian.lng");
constexpr int kRussian = 1049;

LanguageFile russian()
{
    Result<LanguageFile> parsed = LanguageFile::load(kRussianFile);
    EXPECT_TRUE(parsed.ok()) << parsed.status().text().toStdString();
    return parsed.ok() ? std::move(parsed).value() : LanguageFile();
}

TEST(RussianLanguageFile, IsUtf8WithItsLanguageId)
{
    const QByteArray bytes = testfiles::read(kRussianFile);
    ASSERT_FALSE(bytes.isEmpty());
    QStringDecoder utf8(QStringDecoder::Utf8);
    (void)utf8.decode(bytes);
    EXPECT_FALSE(utf8.hasError());
    EXPECT_EQ(LanguageFile::readLanguageId(bytes), kRussian);
    EXPECT_EQ(russian().languageId(), kRussian);
}

TEST(RussianLanguageFile, TranslatesEveryConstantKeepingItsPlaceholders)
{
    const LanguageFile file = russian();
    QStringList missing;
    for (const LocalizedConstants::Entry& entry : LocalizedConstants::builtIn()) {
        const QString name = QString::fromLatin1(entry.name);
        const std::optional<QString> value = file.value(LanguageFile::kConstantsSection, name);
        if (!value) {
            missing << name + "=" + QString::fromUtf8(entry.english);
            continue;
        }
        for (const char* placeholder : {"%s", "%S", "%d"}) {
            EXPECT_EQ(value->count(QLatin1String(placeholder)),
                      QString::fromUtf8(entry.english).count(QLatin1String(placeholder)))
                << entry.name << " " << placeholder;
        }
    }
    EXPECT_TRUE(missing.isEmpty()) << missing.join("\n").toStdString();
}

// Just enough of the process for an editor window to open.
class QuietHost : public EditorHost
{
public:
    QuietHost(TIni& settings, Prompter& prompter) : m_settings(settings), m_prompter(prompter) {}
    TIni& Settings() override { return m_settings; }
    void SaveSettings() override {}
    bool ShowOptions() override { return false; }
    Prompter& prompter() override { return m_prompter; }

private:
    TIni& m_settings;
    Prompter& m_prompter;
};

struct Window
{
    const char* section;
    std::function<std::unique_ptr<QWidget>(TIni&, Prompter&)> make;
    // What the window's own controller leaves alone, for a window that does
    // not attach one yet.
    QStringList untranslated = {};
};

const Window kWindows[] = {
    {"FaxOptionsForm", [](TIni& s, Prompter&) { return std::make_unique<TFaxOptionsForm>(s); }},
    {"FaxStartConfigForm",
     [](TIni& s, Prompter& p) { return std::make_unique<TFaxStartConfigForm>(s, p); }},
    {"FaxStartConfigFTForm",
     [](TIni&, Prompter& p) { return std::make_unique<TFaxStartConfigFTForm>(p); }},
    {"NewDocForm", [](TIni&, Prompter&) { return std::make_unique<TNewDocForm>(); }},
    {"AddParamForm",
     [](TIni&, Prompter& p) { return std::make_unique<TAddParamForm>(p); },
     {"IdMessage1", "Edit2", "Edit6"}},
    {"FaxSendProgressForm",
     [](TIni&, Prompter&) { return std::make_unique<TFaxSendProgressForm>(); }},
    {"FaxEditForm",
     [](TIni& s, Prompter& p) {
         // The window keeps a reference to its host for its whole life.
         static std::unique_ptr<QuietHost> host;
         host = std::make_unique<QuietHost>(s, p);
         return std::make_unique<TFaxEditForm>(*host);
     }},
};

TEST(RussianLanguageFile, TranslatesEveryTextOfEveryWindow)
{
    const LanguageFile file = russian();
    TIni settings;
    settings.LoadFromStrings({});
    ScriptedPrompter prompter;
    QStringList missing;
    for (const Window& window : kWindows) {
        const std::unique_ptr<QWidget> widget = window.make(settings, prompter);
        const LanguageController* controller = LanguageController::of(widget.get());
        if (!controller)
            controller = new LanguageController(widget.get(), window.section, window.untranslated);
        EXPECT_EQ(controller->section(), QLatin1String(window.section));
        // A window whose widgets have no names cannot be translated at all;
        // say so without failing, the window's owner names them.
        if (controller->entries().empty())
            std::cerr << window.section << ": no named widgets, nothing can be translated\n";
        missing << controller->MissingIn(file);
    }
    EXPECT_TRUE(missing.isEmpty()) << missing.size() << " missing:\n"
                                   << missing.join("\n").toStdString();
}

} // namespace
