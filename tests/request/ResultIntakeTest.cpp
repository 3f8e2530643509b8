#include "view/ResultIntake.h"

#include <gtest/gtest.h>

namespace korventa {
namespace {

class ResultIntake : public testing::Test {
protected:
    IntakeStatus take(std::string_view message) {
        return takeConversionResult(message, commands, facturXml);
    }

    JobCommandMap commands = {{u"DocTitle", u"Earlier"}};
    std::string facturXml = "<earlier/>";
};

TEST_F(ResultIntake, TypeOnlyMessageIsAcceptedAndAddsNothing) {
    EXPECT_EQ(take(R"({"type":"JSONCMDS"})"), IntakeStatus::Accepted);
    EXPECT_EQ(commands, (JobCommandMap{{u"DocTitle", u"Earlier"}}));
    EXPECT_EQ(facturXml, "<earlier/>");
}

TEST_F(ResultIntake, JoinsListValuesAsParenthesisedItems) {
    ASSERT_EQ(take(R"j({"cmds":{"AnnZUGXDoc":["a(1)","b\\c"]},"type":"JSONCMDS"})j"),
              IntakeStatus::Accepted);
    EXPECT_EQ(commands.at(u"AnnZUGXDoc"), u"(a\\(1\\))(b\\\\c)");
}

TEST_F(ResultIntake, ListItemsLoseCarriageReturnsAndKeepLineFeeds) {
    ASSERT_EQ(take(R"({"cmds":{"AnnZUGXDoc":["one\r\ntwo",""]}})"), IntakeStatus::Accepted);
    EXPECT_EQ(commands.at(u"AnnZUGXDoc"), u"(one\ntwo)()");
}

TEST_F(ResultIntake, StringCommandsArriveAsUtf16AndReplaceEarlierEntries) {
    ASSERT_EQ(take(R"({"cmds":{"DocTitle":"Rechnung M\u00fcnchen","EmailTo":"a@b.example"}})"),
              IntakeStatus::Accepted);
    EXPECT_EQ(commands, (JobCommandMap{{u"DocTitle", u"Rechnung München"},
                                       {u"EmailTo", u"a@b.example"}}));
}

TEST_F(ResultIntake, EmptyFacxEmptiesTheXmlAndAbsentFacxKeepsIt) {
    ASSERT_EQ(take(R"({"cmds":{}})"), IntakeStatus::Accepted);
    EXPECT_EQ(facturXml, "<earlier/>");
    ASSERT_EQ(take(R"({"facx":"","type":"JSONCMDS"})"), IntakeStatus::Accepted);
    EXPECT_EQ(facturXml, "");
}

TEST_F(ResultIntake, FacxKeepsItsUtf8Bytes) {
    ASSERT_EQ(take("{\"facx\":\"<a>\xc3\xa4\\u20ac</a>\"}"), IntakeStatus::Accepted);
    EXPECT_EQ(facturXml, "<a>\xc3\xa4\xe2\x82\xac</a>");
}

TEST_F(ResultIntake, LastOfDuplicateMembersCounts) {
    ASSERT_EQ(take(R"({"facx":"first","cmds":{"k":"one","k":"two"},"facx":"second"})"),
              IntakeStatus::Accepted);
    EXPECT_EQ(facturXml, "second");
    EXPECT_EQ(commands.at(u"k"), u"two");
}

TEST_F(ResultIntake, ValidJsonThatIsNoObjectIsAcceptedWithNothingTaken) {
    for (const char* message : {"[1,2]", R"("text")", " 5 ", "null"}) {
        EXPECT_EQ(take(message), IntakeStatus::Accepted) << message;
    }
    EXPECT_EQ(commands, (JobCommandMap{{u"DocTitle", u"Earlier"}}));
    EXPECT_EQ(facturXml, "<earlier/>");
}

TEST_F(ResultIntake, InvalidMessagesChangeNothing) {
    for (const char* message : {
             "",
             "{",
             R"({"type":"JSONCMDS"} x)",
             R"({"type":"JSONCMDS"} /* note */)",
             R"({"type":"JSONCMDS"}{"type":"JSONCMDS"})",
             "{\"facx\":\"\xff\"}",
             R"({"facx":"\ud800"})",
             R"({"facx":42,"cmds":{"DocTitle":"New"}})",
             R"({"facx":"<new/>","cmds":["DocTitle","New"]})",
             R"({"facx":"<new/>","cmds":"DocTitle"})",
             R"({"facx":"<new/>","cmds":null})",
             R"({"facx":"<new/>","cmds":{"DocTitle":"New","Copies":2}})",
             R"({"facx":"<new/>","cmds":{"DocTitle":"New","AnnZUGXDoc":["a",1]}})",
             R"({"facx":"<new/>","cmds":{"DocTitle":"New","AnnZUGXDoc":[["a"]]}})",
             R"({"facx":"<new/>","cmds":{"DocTitle":{"v":"New"}}})",
         }) {
        EXPECT_EQ(take(message), IntakeStatus::Invalid) << message;
    }
    EXPECT_EQ(commands, (JobCommandMap{{u"DocTitle", u"Earlier"}}));
    EXPECT_EQ(facturXml, "<earlier/>");
}

TEST_F(ResultIntake, NumbersBeyondADoubleAreRefusedWithoutChangingAnything) {
    for (const char* message : {R"({"n":1e400})", "[-1e999]",
                                R"({"facx":"<new/>","cmds":{"DocTitle":"New"},"x":1E+309})"}) {
        EXPECT_EQ(take(message), IntakeStatus::Invalid) << message;
    }
    EXPECT_EQ(commands, (JobCommandMap{{u"DocTitle", u"Earlier"}}));
    EXPECT_EQ(facturXml, "<earlier/>");
}

}  // namespace
}  // namespace korventa
