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

TEST(BrowserAddress, EncodesWhatABrowsersAddressBarEncodes) {
    const auto blank = browserUrl(u"http://127.0.0.1:8080/a b.html");
    ASSERT_TRUE(blank.has_value());
    EXPECT_EQ(blank->toEncoded(), "http://127.0.0.1:8080/a%20b.html");
    const auto bar = browserUrl(u"http://127.0.0.1:8080/q.html?x=a|b");
    ASSERT_TRUE(bar.has_value());
    EXPECT_EQ(bar->host(), "127.0.0.1");
    EXPECT_EQ(bar->path(), "/q.html");
    EXPECT_EQ(bar->query(QUrl::FullyDecoded), "x=a|b");
    EXPECT_EQ(browserUrl(u"https://example.com/my invoice.html")->path(), "/my invoice.html");
}

TEST(BrowserAddress, RefusesRelativeAndMalformedText) {
    for (const WString text :
         {u"example.com", u"news of today", u"C:\\docs\\a.html", u"", u"https://exa mple.com/",
          u"C:\\my docs\\a b.html", u"what is http://x y", u"http:// a b", u"mailto:a b"}) {
        EXPECT_FALSE(browserUrl(text).has_value()) << toUtf8(text);
    }
}

}  // namespace
}  // namespace korventa
