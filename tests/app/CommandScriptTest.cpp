#include "support/CommandScript.h"

#include <gtest/gtest.h>

namespace korventa {
namespace {

TEST(CommandScript, ReadsSetCommandAndCloseSteps) {
    std::vector<ScriptStep> steps;
    std::string error;
    ASSERT_TRUE(
        parseCommandScript("# comment\r\nset 32774 /tmp/a b.html\n\ncommand 32774 1\n"
                           "command 32783\nclose",
                           steps, error))
        << error;
    ASSERT_EQ(steps.size(), 4u);
    EXPECT_EQ(steps[0].kind, ScriptStep::Kind::Set);
    EXPECT_EQ(steps[0].id, 32774);
    EXPECT_EQ(steps[0].text, u"/tmp/a b.html");
    EXPECT_EQ(steps[1].kind, ScriptStep::Kind::Command);
    EXPECT_EQ(steps[1].code, 1);
    EXPECT_EQ(steps[2].id, 32783);
    EXPECT_EQ(steps[2].code, 0);
    EXPECT_EQ(steps[3].kind, ScriptStep::Kind::Close);
}

TEST(CommandScript, RefusesTheWholeScriptAtTheFirstBadLine) {
    std::vector<ScriptStep> steps;
    std::string error;
    for (const char* bad :
         {"command 32783\ncommand x\nclose", "command 1 2 3", "close now", "set", "press 32783"}) {
        EXPECT_FALSE(parseCommandScript(bad, steps, error)) << bad;
        EXPECT_TRUE(steps.empty());
        EXPECT_FALSE(error.empty());
    }
}

}  // namespace
}  // namespace korventa
