#include "app/core/StartCommandLine.h"

#include <gtest/gtest.h>

namespace {
using Action = StartCommandLine::Action;

struct Case
{
    const char* name;
    QStringList arguments;
    Action action;
    const char* firstArgument;
};

const std::vector<Case>& cases()
{
    static const std::vector<Case> table{
        {"NoArguments", {}, Action::Unusable, ""},
        {"TiffKeepsItsSpelling",
         {QStringLiteral("/home/u/Faxes/Page.TIF")},
         Action::OpenFile,
         "/home/u/Faxes/Page.TIF"},
        {"EveryAcceptedType", {QStringLiteral("/tmp/a.tiff")}, Action::OpenFile, "/tmp/a.tiff"},
        {"Bmp", {QStringLiteral("/tmp/a.bmp")}, Action::OpenFile, "/tmp/a.bmp"},
        {"Png", {QStringLiteral("/tmp/a.PNG")}, Action::OpenFile, "/tmp/a.PNG"},
        {"Jpg", {QStringLiteral("/tmp/a.jpg")}, Action::OpenFile, "/tmp/a.jpg"},
        {"Fax", {QStringLiteral("/tmp/a.fax")}, Action::OpenFile, "/tmp/a.fax"},
        // An unquoted path with blanks arrives split: the joined line still
        // ends in ".tif", but only the first piece is the file to open.
        {"SplitPathOpensFirstPiece",
         {QStringLiteral("/home/My"), QStringLiteral("Faxes/a.tif")},
         Action::OpenFile,
         "/home/My"},
        {"Jpeg", {QStringLiteral("/tmp/x.jpeg")}, Action::Unusable, "/tmp/x.jpeg"},
        {"Gif", {QStringLiteral("/tmp/x.gif")}, Action::Unusable, "/tmp/x.gif"},
        {"Pdf", {QStringLiteral("/tmp/x.pdf")}, Action::Unusable, "/tmp/x.pdf"},
        {"DotOnlyInFolder",
         {QStringLiteral("/tmp/my.tif/scan")},
         Action::Unusable,
         "/tmp/my.tif/scan"},
        {"New", {QStringLiteral("--new")}, Action::NewDocument, "--new"},
        {"NewInCapitals", {QStringLiteral("--NEW")}, Action::NewDocument, "--NEW"},
        {"WizardMixedCase",
         {QStringLiteral("--Install-Wizard")},
         Action::InstallWizard,
         "--Install-Wizard"},
        {"NewAsSecondArgumentIsNotASwitch",
         {QStringLiteral("x"), QStringLiteral("--new")},
         Action::Unusable,
         "x"},
        {"OtherSwitch", {QStringLiteral("--help")}, Action::Unusable, "--help"},
        {"FileTypeBeatsSwitch",
         {QStringLiteral("--new"), QStringLiteral("/tmp/a.tif")},
         Action::OpenFile,
         "--new"},
    };
    return table;
}

class StartCommandLineTest : public testing::TestWithParam<Case>
{
};
} // namespace

TEST_P(StartCommandLineTest, DecidesTheStart)
{
    const Case& c = GetParam();
    const auto decision = StartCommandLine::Evaluate(c.arguments);
    EXPECT_EQ(decision.action, c.action);
    EXPECT_EQ(decision.firstArgument, QString::fromUtf8(c.firstArgument));
}

INSTANTIATE_TEST_SUITE_P(Arguments, StartCommandLineTest, testing::ValuesIn(cases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(StartCommandLine, JoinedLineIsTrimmedAndLowerCased)
{
    const auto decision =
        StartCommandLine::Evaluate({QStringLiteral(" /Home/My"), QStringLiteral("Faxes/Ä.TIF ")});
    EXPECT_EQ(decision.joinedLine, QStringLiteral("/home/my faxes/ä.tif"));
}
