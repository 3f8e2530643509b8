#include "appmode/TextFile.h"

#include <gtest/gtest.h>

#include <clocale>

#include "support/TempDir.h"

namespace korventa {
namespace {

using namespace std::string_view_literals;

TEST(TextDecoding, Utf8MarkBeatsTheHintAndIsDropped) {
    EXPECT_EQ(decodeText("\xEF\xBB\xBF" "caf\xC3\xA9", u"ACP"), u"caf\u00E9");
}

TEST(TextDecoding, Utf16MarksSelectTheByteOrder) {
    EXPECT_EQ(decodeText("\xFE\xFF\x00\x41\x20\xAC"sv, u"UTF-8"), u"A\u20AC");
    EXPECT_EQ(decodeText("\xFF\xFE\x41\x00\xAC\x20"sv, u"UTF-16BE"), u"A\u20AC");
}

TEST(TextDecoding, MarkBeatsEvenAnUnknownHint) {
    EXPECT_EQ(decodeText("\xFF\xFE\x41\x00"sv, u"utf-16"), u"A");
}

TEST(TextDecoding, HintDecidesWithoutMark) {
    EXPECT_EQ(decodeText("\x41\x00\xAC\x20"sv, u"UTF-16"), u"A\u20AC");
    EXPECT_EQ(decodeText("\x00\x41\x20\xAC"sv, u"UTF-16BE"), u"A\u20AC");
    EXPECT_EQ(decodeText("caf\xC3\xA9", u"UTF-8"), u"caf\u00E9");
}

TEST(TextDecoding, TwoBytesOfTheUtf8MarkAreDecodedByTheHint) {
    EXPECT_EQ(decodeText("\xEF\xBB", u"UTF-16"), u"\uBBEF");
    EXPECT_EQ(decodeText("\xEF\xBB", u"UTF-16BE"), u"\uEFBB");
}

TEST(TextDecoding, IgnoresOddLastByteOfUtf16) {
    EXPECT_EQ(decodeText("\xFF\xFE\x41\x00\x42"sv, u""), u"A");
    EXPECT_EQ(decodeText("\x00\x41\x42"sv, u"UTF-16BE"), u"A");
    EXPECT_EQ(decodeText("\x41", u"UTF-16"), u"");
}

TEST(TextDecoding, UnknownHintGivesEmptyText) {
    EXPECT_EQ(decodeText("abc", u"utf-8"), u"");
    EXPECT_EQ(decodeText("abc", u"UTF8"), u"");
    EXPECT_EQ(decodeText("abc", u"UTF-8 "), u"");
}

TEST(TextDecoding, LocaleCharsetOfCLocaleReplacesEveryHighByte) {
    ASSERT_NE(std::setlocale(LC_CTYPE, "C"), nullptr);
    EXPECT_EQ(decodeText("caf\xE9\xFF!", u"ACP"), u"caf\uFFFD\uFFFD!");
    EXPECT_EQ(decodeText("caf\xE9", u""), u"caf\uFFFD");
}

TEST(TextDecoding, LocaleCharsetKeepsTextLongerThanOneConversionBlock) {
    ASSERT_NE(std::setlocale(LC_CTYPE, "C"), nullptr);
    std::string bytes(10000, 'x');
    bytes[5000] = '\x80';
    WString expected(10000, u'x');
    expected[5000] = u'\uFFFD';
    EXPECT_EQ(decodeText(bytes, u"ACP"), expected);
}

class Utf8Locale : public ::testing::Test {
protected:
    void SetUp() override {
        if (std::setlocale(LC_CTYPE, "C.UTF-8") == nullptr) GTEST_SKIP() << "no C.UTF-8 locale";
    }
    void TearDown() override { std::setlocale(LC_CTYPE, "C"); }
};

TEST_F(Utf8Locale, DecodesMultibyteCharacters) {
    EXPECT_EQ(decodeText("caf\xC3\xA9 \xF0\x9F\x98\x80", u"ACP"), u"caf\u00E9 \U0001F600");
}

TEST_F(Utf8Locale, ReplacesEachUndecodableByte) {
    EXPECT_EQ(decodeText("a\xFF" "b", u"ACP"), u"a\uFFFDb");
    // A character cut off by the end of the file: each of its bytes is replaced.
    EXPECT_EQ(decodeText("a\xE2\x82", u"ACP"), u"a\uFFFD\uFFFD");
}

class TextFileRead : public ::testing::Test {
protected:
    WString pathOf(const std::string& name) const { return fromUtf8(dir_.file(name)); }
    test::TempDir dir_;
};

TEST_F(TextFileRead, ReadsWholeFileInBinary) {
    dir_.writeFile("invoice.xml", "\xEF\xBB\xBF<a>\r\n\x1A</a>");
    EXPECT_EQ(ReadTextFile(pathOf("invoice.xml"), u"UTF-8"), u"<a>\r\n\x1A</a>");
}

TEST_F(TextFileRead, OpensPathsWithNonAsciiNames) {
    dir_.writeFile("rechnung-\xC3\xA4.xml", "<r/>");
    EXPECT_EQ(ReadTextFile(pathOf("rechnung-\xC3\xA4.xml"), u"UTF-8"), u"<r/>");
}

TEST_F(TextFileRead, GivesEmptyTextForEmptyMissingOrUnreadablePaths) {
    dir_.writeFile("empty.xml", "");
    EXPECT_EQ(ReadTextFile(u"", u"UTF-8"), u"");
    EXPECT_EQ(ReadTextFile(pathOf("empty.xml"), u"UTF-8"), u"");
    EXPECT_EQ(ReadTextFile(pathOf("missing.xml"), u"UTF-8"), u"");
    EXPECT_EQ(ReadTextFile(fromUtf8(dir_.path()), u"UTF-8"), u"");
}

TEST_F(TextFileRead, RefusesPathWithEmbeddedNul) {
    dir_.writeFile("a.xml", "<a/>");
    const WString path = pathOf("a.xml") + WString(1, u'\0') + u".bak";
    EXPECT_EQ(ReadTextFile(path, u"UTF-8"), u"");
}

}  // namespace
}  // namespace korventa
