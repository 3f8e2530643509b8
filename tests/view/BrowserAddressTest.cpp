#include "view/BrowserAddress.h"

#include <gtest/gtest.h>

namespace korventa {
namespace {

TEST(BrowserAddress, OpensAbsoluteLocalPathAsFileUrl) {
    EXPECT_EQ(browserUrl(u"/tmp/my invoice.html"), QUrl::fromLocalFile("/tmp/my invoice.html"));
}

TEST(BrowserAddress, AcceptsAbsoluteUrlsWithAnyScheme) {
    EXPECT_EQ(browserUrl(u"https://example.com/a"), QUrl("https://example.com/a"));
    EXPECT_TRUE(browserUrl(u"foo:bar").has_value());
}

TEST(BrowserAddress, RefusesRelativeAndMalformedText) {
    for (const WString text :
         {u"example.com", u"news of today", u"C:\\docs\\a.html", u"", u"https://exa mple.com/"}) {
        EXPECT_FALSE(browserUrl(text).has_value()) << toUtf8(text);
    }
}

}  // namespace
}  // namespace korventa
