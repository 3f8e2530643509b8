#include "app/CommandLine.h"

#include <gtest/gtest.h>

namespace korventa {
namespace {

using Args = std::vector<WString>;

TEST(CommandLine, NoArgumentsIsANormalStart) {
    EXPECT_FALSE(parseCommandLine({u"korventa"}).requested);
    EXPECT_FALSE(parseCommandLine({}).requested);
}

TEST(CommandLine, OptionAloneAsksForTheSimpleApplication) {
    const auto request = parseCommandLine({u"korventa", u"--zug"});
    EXPECT_TRUE(request.requested);
    EXPECT_EQ(request.name, u"simple");
}

TEST(CommandLine, TakesTheNameAfterTheOptionAndIgnoresTheRest) {
    const auto request = parseCommandLine({u"korventa", u"--zug", u"invoice2", u"more", u"--zug"});
    EXPECT_TRUE(request.requested);
    EXPECT_EQ(request.name, u"invoice2");
}

TEST(CommandLine, KeepsAnEmptyNameEmpty) {
    const auto request = parseCommandLine({u"korventa", u"--zug", u""});
    EXPECT_TRUE(request.requested);
    EXPECT_EQ(request.name, u"");
}

TEST(CommandLine, CountsTheOptionOnlyAsTheWholeFirstArgument) {
    for (const Args& args : {Args{u"k", u"--ZUG"}, Args{u"k", u"-zug"}, Args{u"k", u"--zug=demo"},
                             Args{u"k", u"--zug "}, Args{u"k", u"page.html", u"--zug"}}) {
        EXPECT_FALSE(parseCommandLine(args).requested) << toUtf8(args[1]);
    }
}

TEST(CommandLine, HelpAndVersionAsTheFirstArgumentEndTheStartWithTheirText) {
    EXPECT_EQ(parseCommandLine({u"k", u"--help"}).action, StartAction::Usage);
    EXPECT_EQ(parseCommandLine({u"k", u"-h", u"--zug"}).action, StartAction::Usage);
    EXPECT_EQ(parseCommandLine({u"k", u"--version"}).action, StartAction::Version);
    EXPECT_FALSE(parseCommandLine({u"k", u"--version"}).requested);
    for (const Args& args : {Args{u"k"}, Args{u"k", u"--zug", u"--help"},
                             Args{u"k", u"page.html", u"--version"}, Args{u"k", u"--HELP"}}) {
        EXPECT_EQ(parseCommandLine(args).action, StartAction::Window) << args.size();
    }
    EXPECT_TRUE(usageText().starts_with("Usage: korventa"));
}

}  // namespace
}  // namespace korventa
