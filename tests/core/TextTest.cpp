#include "core/Text.h"

#include <gtest/gtest.h>

namespace korventa {
namespace {

TEST(Utf8Conversion, RoundTripsEveryPlane) {
    const WString text = u"a\u00E4\u20AC\U0001F600z";
    EXPECT_EQ(toUtf8(text), "a\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80z");
    EXPECT_EQ(fromUtf8(toUtf8(text)), text);
}

TEST(Utf8Conversion, ReplacesEachMaximalSubpartOfBadInput) {
    // Truncated 3-byte sequence, lone continuation, encoded surrogate, overlong, bad lead.
    EXPECT_EQ(fromUtf8("\xE2\x82" "A"), u"\uFFFDA");
    EXPECT_EQ(fromUtf8("\x80"), u"\uFFFD");
    EXPECT_EQ(fromUtf8("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(fromUtf8("\xC0\xAF"), u"\uFFFD\uFFFD");
    EXPECT_EQ(fromUtf8("\xF5\x80"), u"\uFFFD\uFFFD");
    EXPECT_EQ(fromUtf8("\xF0\x9F\x98"), u"\uFFFD");
}

TEST(Utf8Conversion, WritesLoneSurrogatesAsReplacement) {
    EXPECT_EQ(toUtf8(WString(1, char16_t(0xD800)) + u"x"), "\xEF\xBF\xBDx");
    EXPECT_EQ(toUtf8(WString(1, char16_t(0xDC00))), "\xEF\xBF\xBD");
}

TEST(TextHelpers, TrimsTheDriverBlankSetOnly) {
    EXPECT_EQ(trimBlanks(u" \t\r\n\f\u00A0False\u00A0 "), u"False");
    EXPECT_EQ(trimBlanks(u"\u2003x"), u"\u2003x");
    EXPECT_EQ(trimBlanks(u" \t "), u"");
}

TEST(TextHelpers, ReadsOnlyExactTrueAsOn) {
    EXPECT_TRUE(isTrueText(u"True"));
    EXPECT_TRUE(isTrueText(u"true"));
    for (const WString off : {u"TRUE", u"1", u"yes", u"", u" True"}) EXPECT_FALSE(isTrueText(off));
}

TEST(TextHelpers, WritesDecimalNumbers) {
    EXPECT_EQ(decimalText(0), u"0");
    EXPECT_EQ(decimalText(4294967295u), u"4294967295");
}

}  // namespace
}  // namespace korventa
