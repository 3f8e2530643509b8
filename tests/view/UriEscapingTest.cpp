#include "view/UriEscaping.h"

#include <gtest/gtest.h>

namespace korventa {
namespace {

TEST(UriEscaping, KeepsUnreservedAndEscapesOtherAsciiInUpperCaseHex) {
    EXPECT_EQ(escapeUriComponent(u"aZ09-._~ /?#&=:@!*'()\x7f\t"),
              u"aZ09-._~%20%2F%3F%23%26%3D%3A%40%21%2A%27%28%29%7F%09");
}

TEST(UriEscaping, KeepsNonAsciiIncludingSurrogatePairs) {
    EXPECT_EQ(escapeUriComponent(u"é😀"), u"é😀");
}

TEST(UriEscaping, AllowsExactlyTheLimitAndRefusesOneMore) {
    EXPECT_EQ(escapeUriComponent(WString(kEscapedTextLimit, u'a'))->size(), kEscapedTextLimit);
    EXPECT_FALSE(escapeUriComponent(WString(kEscapedTextLimit + 1, u'a')).has_value());
    // A %XX that crosses the limit counts whole.
    EXPECT_FALSE(escapeUriComponent(WString(kEscapedTextLimit - 2, u'a') + u" ").has_value());
}

TEST(UriEscaping, FoldsOnlyWholeEscapedBlanks) {
    EXPECT_EQ(foldEscapedBlanks(u"%20%20a%20b%2520%20"), u"+a+b%2520+");
}

}  // namespace
}  // namespace korventa
