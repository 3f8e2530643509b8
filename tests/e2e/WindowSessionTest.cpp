// The window's own settings across runs: the real program offscreen, driven through its
// ribbon by the test script, closed, and the user hive read afterwards.
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "e2e/ProgramSession.h"

namespace korventa {
namespace {

constexpr WStringView kUserKey = u"Software\\TALVENIR\\KORVENTA\\KORVENTA";

using WindowSession = test::ProgramSession;

TEST_F(WindowSession, CloseWritesTheSevenValuesChangedThroughTheRibbon) {
    files_.writeFile("invoice.html", "<p>invoice</p>");
    const std::string invoice = files_.file("invoice.html");
    ASSERT_TRUE(runScript("set 32774 " + invoice + "\n" +
                          "command 32774\n"
                          "command 32783\n"
                          "command 32785\n"
                          "set 32784 invoice-cmd\n"
                          "command 32784\n"
                          "close\n"));

    // By name; every value REG_SZ with its terminating zero, (length + 1) * 2 bytes.
    const WString start = fromUtf8(page_);
    const WString opened = fromUtf8(invoice);
    const std::vector<std::pair<WString, WString>> expected{
        {u"ConvertCmd", u"False"},
        {u"ConvertCmdCSS", u"invoice-cmd"},
        {u"ConvertCmdHide", u"True"},
        {u"ConvertHTMLAsTemp", u"True"},
        {u"ConvertPrinterName", u"Veltrix PDF Pro"},
        {u"ConvertRecent", u"(" + opened + u")(" + start + u")"},
        {u"ConvertURL", opened},
    };
    std::vector<reg::RegValue> sorted = valuesIn(kUserKey);
    ASSERT_EQ(sorted.size(), expected.size());
    std::sort(sorted.begin(), sorted.end(),
              [](const reg::RegValue& a, const reg::RegValue& b) { return a.name < b.name; });
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(sorted[i].name, expected[i].first);
        EXPECT_EQ(sorted[i].type, reg::REG_SZ) << toUtf8(expected[i].first);
        EXPECT_EQ(sorted[i].data, reg::RegValue::stringData(expected[i].second))
            << toUtf8(expected[i].first);
    }
}

TEST_F(WindowSession, CloseKeepsThePrinterChosenInTheBox) {
    std::string queue;
    std::string why;
    if (!addDriverQueue(queue, why))
        GTEST_SKIP() << why;
    ASSERT_TRUE(runScript("set 32773 " + queue + "\ncommand 32773\nclose\n"));
    EXPECT_EQ(textIn(kUserKey, u"ConvertPrinterName"), fromUtf8(queue));
}

TEST_F(WindowSession, RestoresTheWindowSizeOfTheLastRun) {
    const WStringView workspace = u"Software\\TALVENIR\\KORVENTA\\Workspace";
    // The default size, bounded by the offscreen platform's 800 x 600 screen.
    ASSERT_TRUE(runScript("close\n"));
    ASSERT_EQ(textIn(workspace, u"WindowWidth"), u"800");

    putText(workspace, u"WindowWidth", u"700");
    putText(workspace, u"WindowHeight", u"500");
    ASSERT_TRUE(runScript("close\n"));
    EXPECT_EQ(textIn(workspace, u"WindowWidth"), u"700");
    EXPECT_EQ(textIn(workspace, u"WindowHeight"), u"500");
}

}  // namespace
}  // namespace korventa
