#include "components/ConsoleEventText.h"

#include <gtest/gtest.h>

namespace korventa {
namespace {

TEST(ConsoleEventText, WritesPrefixAndJsonInFieldOrder) {
    EXPECT_EQ(
        consoleEventText("info", "hello", 3, "file:///tmp/a.html"),
        R"(console.log Event: {"level":"info","message":"hello","line":3,"source":"file:///tmp/a.html"})");
}

TEST(ConsoleEventText, EscapesQuotesAndLineBreaksOfMessage) {
    EXPECT_EQ(
        consoleEventText("error", "say \"hi\"\n", 1, ""),
        R"(console.log Event: {"level":"error","message":"say \"hi\"\n","line":1,"source":""})");
}

TEST(ConsoleEventText, ReplacesIllFormedUtf8InsteadOfFailing) {
    EXPECT_EQ(consoleEventText("info", "a\xff", 0, ""),
              "console.log Event: {\"level\":\"info\",\"message\":\"a\xef\xbf\xbd\",\"line\":0,"
              "\"source\":\"\"}");
}

}  // namespace
}  // namespace korventa
