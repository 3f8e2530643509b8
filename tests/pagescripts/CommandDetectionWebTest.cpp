#include <gtest/gtest.h>

#include "pagescripts/PageHarness.h"
#include "pagescripts/PageScripts.h"

namespace korventa::test {
namespace {

class CommandDetection : public testing::Test {
protected:
    // Loads the markup and installs gkvt_veltCmds alone: detection needs nothing else.
    [[nodiscard]] bool open(const QString& body) {
        if (!page.load(body)) return false;
        static_cast<void>(page.evaluate(commandDetectionScript()));
        return page.evaluate(QStringLiteral("typeof gkvt_veltCmds")).toString() == "object";
    }

    // The command map as JSON text, or the name of the error that detection threw.
    QString detect(const QString& className, bool hide) {
        return page
            .evaluate("try { JSON.stringify(gkvt_veltCmds.detectCmds('" + className + "', " +
                      (hide ? "true" : "false") + ")) } catch (e) { e.name }")
            .toString();
    }

    PageHarness page;
};

TEST_F(CommandDetection, KeysNeedTwoCharactersAndMayHoldDots) {
    ASSERT_TRUE(open("<div class='c'>%%ab: x%% %%a: y%% %%a.b: z%% %%-k_2: w%%</div>"));
    EXPECT_EQ(detect("c", false), R"({"ab":"x","a.b":"z","-k_2":"w"})");
}

TEST_F(CommandDetection, NoBreakSpaceInTheValueBlocksTheMatch) {
    ASSERT_TRUE(open("<div class='c'>%%ab: one&nbsp;two%% %%cd: one two%%</div>"));
    EXPECT_EQ(detect("c", false), R"({"cd":"one two"})");
}

TEST_F(CommandDetection, ValuesSpanLinesAndKeepTrailingBlanks) {
    ASSERT_TRUE(open("<pre class='c'>%%KeyA:  \n first\r\nsecond\t %%</pre>"));
    EXPECT_EQ(detect("c", false), R"({"KeyA":"first\nsecond\t "})");
}

TEST_F(CommandDetection, SpecialKeysFillTheInvoiceMembers) {
    ASSERT_TRUE(open("<div class='c'>%%eczfd: C:\\x\\inv.xml%% %%eczx: one%% %%eczx: two%%"
                     " %%zx.seller: 42%% %%zx.buyer: 7%% %%ecnew: x%% %%acme: x%%"
                     " %%ocr: x%% %%keep_: x%% %%Eczp: y%%</div>"));
    EXPECT_EQ(detect("c", false),
              R"({"AnnZUGProfile":"EXTENDED","AnnZUGFeRD":"C:\\x\\inv.xml",)"
              R"("AnnZUGXDoc":["one","two"],"AnnZUGXData":"zx.seller:42\nzx.buyer:7\n",)"
              R"("Eczp":"y"})");
}

TEST_F(CommandDetection, ProfileKeysSetTheProfileAndTheLastOneWins) {
    ASSERT_TRUE(open("<div class='c'>%%eczf1: a.xml%% %%eczp: MINIMUM%% %%eczf: b.xml%%</div>"
                     "<div class='c'>%%eczfg: c.xml%%</div>"));
    EXPECT_EQ(detect("c", false), R"({"AnnZUGProfile":"MINIMUM","AnnZUGFeRD":"b.xml"})");
}

TEST_F(CommandDetection, GeneralRuleAppendsEscapesAndReplacesInHandlingOrder) {
    ASSERT_TRUE(open("<div class='c'>%%note: &one%% %%cat: :a%% %%k1: \\&x%% %%k2: \\n%%"
                     " %%k3: \\:y%% %%rep: first%%</div>"
                     "<div class='c'>%%note: &two%% %%cat: :b%% %%rep: second%% %%rep: third%%"
                     "</div>"));
    EXPECT_EQ(detect("c", false),
              R"({"note":"two\none","cat":"ba","rep":"first","k1":"&x","k2":"\\n","k3":":y"})");
}

TEST_F(CommandDetection, NestedMatchesAreWalkedBackwardsAndTheInnerOneTwice) {
    ASSERT_TRUE(open("<div class='c'>%%log: :A%%<span class='c'>%%log: :B%%</span>"
                     "%%log: :C%%</div>"));
    EXPECT_EQ(detect("c", false), R"({"log":"BCBA"})");
}

TEST_F(CommandDetection, HidingHidesEveryMatchedElementAndKeepsItsText) {
    ASSERT_TRUE(open("<div class='c' id='one'>%%title: Offer%%</div>"
                     "<div class='c' id='two'>no commands</div><p id='other'>%%ab: x%%</p>"));
    EXPECT_EQ(detect("c", true), R"({"title":"Offer"})");
    EXPECT_EQ(page.evaluate(QStringLiteral(
                                "[one.style.display, two.style.display, other.style.display,"
                                " one.textContent].join('|')"))
                  .toString(),
              "none|none||%%title: Offer%%");
}

TEST_F(CommandDetection, EmptyClassNameWithHidingRemovesTheCommandTextOnly) {
    ASSERT_TRUE(open("<p id='p'>Total %%ab: x%% due %%a: kept%%</p>"
                     "<script>/* %%cd: y%% */</script>"));
    EXPECT_EQ(detect("  ", true), R"({"cd":"y","ab":"x"})");
    EXPECT_EQ(page.evaluate(QStringLiteral("p.textContent + '|' + p.style.display")).toString(),
              "Total  due %%a: kept%%|");
}

TEST_F(CommandDetection, EmptyClassNameWithoutHidingLeavesThePageAlone) {
    ASSERT_TRUE(open("<p id='p'>Total %%ab: x%% due</p>"));
    EXPECT_EQ(detect("", false), R"({"ab":"x"})");
    EXPECT_EQ(page.evaluate(QStringLiteral("p.textContent")).toString(), "Total %%ab: x%% due");
}

TEST_F(CommandDetection, NamesOtherThanClassNamesAreSelectors) {
    ASSERT_TRUE(open("<div class='Cmds'>%%k1: class%%</div><div id='cmd'>%%k2: id%%</div>"
                     "<div data-cmd>%%k3: attribute%%</div>"));
    EXPECT_EQ(detect("Cmds", false), R"({"k1":"class"})");
    EXPECT_EQ(detect("#cmd", false), R"({"k2":"id"})");
    EXPECT_EQ(detect("[data-cmd]", false), R"({"k3":"attribute"})");
}

TEST_F(CommandDetection, SelectorTheBrowserRejectsThrowsToTheCaller) {
    ASSERT_TRUE(open("<div class='1abc'>%%ab: x%%</div>"));
    EXPECT_EQ(detect("1abc", false), "SyntaxError");
}

TEST_F(CommandDetection, FailingCommandEndsOnlyItsOwnTextNode) {
    ASSERT_TRUE(open("<div id='first'>%%before: 1%% %%eczx: a%% %%after: 2%%</div>"
                     "<div>%%AnnZUGXDoc: text%%</div>"));
    EXPECT_EQ(detect("", true), R"({"AnnZUGXDoc":"text","before":"1"})");
    EXPECT_EQ(page.evaluate(QStringLiteral("first.textContent")).toString(),
              "%%before: 1%% %%eczx: a%% %%after: 2%%");
}

TEST_F(CommandDetection, PageThatDefinesItsOwnObjectKeepsIt) {
    ASSERT_TRUE(page.load("<p>%%ab: x%%</p>", "<script>var gkvt_veltCmds = {own: true};</script>"));
    static_cast<void>(page.evaluate(commandDetectionScript()));
    EXPECT_TRUE(page.evaluate(QStringLiteral("gkvt_veltCmds.own")).toBool());
}

}  // namespace
}  // namespace korventa::test
