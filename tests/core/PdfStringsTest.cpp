#include "core/PdfStrings.h"

#include <gtest/gtest.h>

namespace korventa {
namespace {

using List = std::vector<WString>;

TEST(PdfStrings, JoinsEscapedItemsWithoutSeparators) {
    EXPECT_EQ(JoinAsPdfStrings({u"a b", u"x(1)", u"c:\\d"}), u"(a b)(x\\(1\\))(c:\\\\d)");
    EXPECT_EQ(JoinAsPdfStrings({}), u"");
    EXPECT_EQ(JoinAsPdfStrings({u""}), u"()");
}

TEST(PdfStrings, DropsCarriageReturnsButKeepsLineFeeds) {
    EXPECT_EQ(EscapePdfString(u"a\r\nb\r"), u"a\nb");
}

TEST(PdfStrings, SplitsWhatJoinWrote) {
    const List items{u"(", u")", u"\\", u"\\(", u"", u"\u00E4 \U0001F600", u"a\nb"};
    EXPECT_EQ(SplitPdfStrings(JoinAsPdfStrings(items)), items);
}

TEST(PdfStrings, TakesAnUnterminatedLastItem) {
    EXPECT_EQ(SplitPdfStrings(u"(a)(b\\)c)(d"), (List{u"a", u"b)c", u"d"}));
}

TEST(PdfStrings, SkipsTextOutsideItems) {
    EXPECT_EQ(SplitPdfStrings(u"x(a)y(b)"), (List{u"a", u"b"}));
    EXPECT_EQ(SplitPdfStrings(u"no items"), List{});
}

TEST(PdfStrings, KeepsBalancedParenthesesInsideAnItem) {
    EXPECT_EQ(SplitPdfStrings(u"(f(x)y)(z)"), (List{u"f(x)y", u"z"}));
}

TEST(PdfStrings, KeepsABackslashBeforeOtherCharactersAndDropsATrailingOne) {
    EXPECT_EQ(SplitPdfStrings(u"(a\\nb)"), List{u"a\\nb"});
    EXPECT_EQ(SplitPdfStrings(u"(a\\"), List{u"a"});
    // The escaped character after a kept backslash is read normally: "\\(" nests here.
    EXPECT_EQ(SplitPdfStrings(u"(a\\x(b)c)"), List{u"a\\x(b)c"});
}

}  // namespace
}  // namespace korventa
