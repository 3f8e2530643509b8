#include "platform/regtool/RegFileWriter.h"

#include <gtest/gtest.h>

#include "platform/regtool/RegFileParser.h"
#include "platform/regtool/RegTestBytes.h"

namespace korventa::regtool {
namespace {

using test::utf16Data;

reg::RegValue value(WString name, std::uint32_t type, std::string data) {
    return reg::RegValue{std::move(name), type, std::move(data)};
}

// The file's text without its byte order mark.
WString textOf(const RegFileWriter& writer) {
    const std::string bytes = writer.bytes();
    EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
    return readUtf16Le(std::string_view(bytes).substr(2));
}

TEST(RegFileWriter, WritesTheVersion5LayoutInUtf16WithCrlf) {
    RegFileWriter writer;
    ASSERT_TRUE(writer.addKey(u"HKEY_CURRENT_USER\\Software\\K"));
    ASSERT_TRUE(writer.addValue(value(u"", reg::REG_SZ, reg::RegValue::stringData(u"d"))));
    ASSERT_TRUE(writer.addValue(value(u"a\\\"b", reg::REG_SZ, reg::RegValue::stringData(u"C:\\x"))));
    ASSERT_TRUE(writer.addValue(value(u"n", reg::REG_DWORD, std::string("\x2A\0\0\x80", 4))));
    ASSERT_TRUE(writer.addValue(value(u"b", reg::REG_BINARY, "\x01\xFF")));
    ASSERT_TRUE(writer.addValue(value(u"e", reg::REG_EXPAND_SZ, utf16Data(WString(u"%\0", 2)))));
    EXPECT_EQ(textOf(writer),
              u"Windows Registry Editor Version 5.00\r\n"
              u"\r\n[HKEY_CURRENT_USER\\Software\\K]\r\n"
              u"@=\"d\"\r\n"
              u"\"a\\\\\\\"b\"=\"C:\\\\x\"\r\n"
              u"\"n\"=dword:8000002a\r\n"
              u"\"b\"=hex:01,ff\r\n"
              u"\"e\"=hex(2):25,00,00,00\r\n\r\n");
}

TEST(RegFileWriter, WrapsHexLinesWithinEightyColumns) {
    RegFileWriter writer;
    ASSERT_TRUE(writer.addKey(u"HKEY_CURRENT_USER\\K"));
    ASSERT_TRUE(writer.addValue(value(u"blob", reg::REG_BINARY, std::string(100, '\x11'))));
    const WString text = textOf(writer);
    std::vector<WString> lines;
    for (std::size_t start = text.find(u"\"blob\""); lines.empty() || lines.back().back() == u'\\';) {
        const std::size_t end = text.find(u"\r\n", start);
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    // 22 bytes after the name, then 25 per line.
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0].substr(0, 11), u"\"blob\"=hex:");
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_LE(lines[i].size(), 80u);
        EXPECT_EQ(lines[i].back() == u'\\', i + 1 < lines.size());
        if (i > 0) {
            EXPECT_EQ(lines[i].substr(0, 2), u"  ");
        }
    }
    EXPECT_EQ(lines[1].size(), 2u + 25 * 3 + 1);
}

TEST(RegFileWriter, RefusesNamesWithLineBreaks) {
    RegFileWriter writer;
    EXPECT_FALSE(writer.addKey(u"HKEY_CURRENT_USER\\a\nb"));
    EXPECT_FALSE(writer.addValue(value(u"x\r", reg::REG_SZ, reg::RegValue::stringData(u""))));
}

TEST(RegFileWriter, RoundTripsEveryTypeAndAwkwardNamesThroughTheParser) {
    const std::vector<reg::RegValue> values = {
        value(u"", reg::REG_SZ, reg::RegValue::stringData(u"default")),
        value(u"back\\slash \"quoted\" \u00E4\u20AC\U0001F600", reg::REG_SZ,
              reg::RegValue::stringData(u"\\\\srv\\share \"x\" \u00DF")),
        value(u"empty", reg::REG_SZ, reg::RegValue::stringData(u"")),
        value(u"two lines", reg::REG_SZ, reg::RegValue::stringData(u"a\r\nb")),
        value(u"unterminated", reg::REG_SZ, utf16Data(u"abc")),
        value(u"odd", reg::REG_SZ, "abc"),
        value(u"expand", reg::REG_EXPAND_SZ, reg::RegValue::stringData(u"%HOME%\\x")),
        value(u"multi", reg::REG_MULTI_SZ, utf16Data(WString(u"a\0b\u00E4\0\0", 6))),
        value(u"dword", reg::REG_DWORD, std::string("\xFF\xFF\xFF\xFF", 4)),
        value(u"short dword", reg::REG_DWORD, "\x01"),
        value(u"qword", reg::REG_QWORD, std::string("\x01\0\0\0\0\0\0\x80", 8)),
        value(u"binary", reg::REG_BINARY, std::string(300, '\xA5')),
        value(u"none", reg::REG_NONE, ""),
        value(u"big endian", reg::REG_DWORD_BIG_ENDIAN, std::string("\0\0\0\x01", 4)),
        value(u"private", 0x12345678u, "\x00\x01"),
    };
    RegFileWriter writer;
    ASSERT_TRUE(writer.addKey(u"HKEY_LOCAL_MACHINE\\Software\\]odd[ key\\\u00C4"));
    for (const auto& v : values) ASSERT_TRUE(writer.addValue(v));

    std::vector<RegImportStep> steps;
    RegParseError error;
    ASSERT_TRUE(RegFileParser::parse(writer.bytes(), steps, error)) << error.line << error.message;
    ASSERT_EQ(steps.size(), values.size() + 1);
    EXPECT_EQ(steps[0].root, reg::RootKey::LocalMachine);
    EXPECT_EQ(steps[0].path, u"Software\\]odd[ key\\\u00C4");
    for (std::size_t i = 0; i < values.size(); ++i) {
        EXPECT_EQ(steps[i + 1].name, values[i].name);
        EXPECT_EQ(steps[i + 1].type, values[i].type) << toUtf8(values[i].name);
        EXPECT_EQ(steps[i + 1].data, values[i].data) << toUtf8(values[i].name);
    }
}

}  // namespace
}  // namespace korventa::regtool
