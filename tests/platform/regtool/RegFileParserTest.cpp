#include "platform/regtool/RegFileParser.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/regtool/RegTestBytes.h"

namespace korventa::regtool {
namespace {

using test::utf16Data;
using test::utf16LeFile;
using test::version5;
using Action = RegImportStep::Action;
using namespace std::string_literals;

std::vector<RegImportStep> parsed(std::string_view bytes) {
    std::vector<RegImportStep> steps;
    RegParseError error;
    EXPECT_TRUE(RegFileParser::parse(bytes, steps, error)) << error.line << ": " << error.message;
    return steps;
}

RegParseError parseError(std::string_view bytes) {
    std::vector<RegImportStep> steps;
    RegParseError error;
    EXPECT_FALSE(RegFileParser::parse(bytes, steps, error));
    EXPECT_TRUE(steps.empty());
    return error;
}

// The single value set by a file made of one section and one value line.
RegImportStep onlyValue(std::string_view valueLine) {
    const auto steps = parsed(version5("[HKEY_CURRENT_USER\\Software\\K]\r\n" +
                                       std::string(valueLine) + "\r\n"));
    EXPECT_EQ(steps.size(), 2u);
    return steps.size() == 2 ? steps[1] : RegImportStep{};
}

TEST(RegFileParser, ReadsSectionsAsKeyCreationsOnTheirHive) {
    const auto steps = parsed(version5(
        "[HKEY_LOCAL_MACHINE\\Software\\TALVENIR\\Veltrix\\PDF\\5.0]\r\n[HKCU\\Software\\A\\]\r\n"));
    ASSERT_EQ(steps.size(), 2u);
    EXPECT_EQ(steps[0].action, Action::CreateKey);
    EXPECT_EQ(steps[0].root, reg::RootKey::LocalMachine);
    EXPECT_EQ(steps[0].path, u"Software\\TALVENIR\\Veltrix\\PDF\\5.0");
    EXPECT_EQ(steps[1].root, reg::RootKey::CurrentUser);
    EXPECT_EQ(steps[1].path, u"Software\\A");
}

TEST(RegFileParser, UnescapesBackslashAndQuoteInNamesAndTexts) {
    const auto step = onlyValue(R"("a\\b \"q\""="C:\\Program Files\\\"x\"")");
    EXPECT_EQ(step.action, Action::SetValue);
    EXPECT_EQ(step.name, u"a\\b \"q\"");
    EXPECT_EQ(step.type, reg::REG_SZ);
    EXPECT_EQ(step.data, reg::RegValue::stringData(u"C:\\Program Files\\\"x\""));
}

TEST(RegFileParser, ReadsDwordAsFourLittleEndianBytes) {
    const auto step = onlyValue("\"n\"=dword:0001e240");
    EXPECT_EQ(step.type, reg::REG_DWORD);
    EXPECT_EQ(step.data, std::string("\x40\xE2\x01\x00", 4));
}

TEST(RegFileParser, ReadsHexFormsWithTheirTypeNumbers) {
    EXPECT_EQ(onlyValue("\"b\"=hex:de,AD,0").type, reg::REG_BINARY);
    EXPECT_EQ(onlyValue("\"b\"=hex:de,AD,0").data, "\xDE\xAD\x00"s);
    EXPECT_EQ(onlyValue("\"e\"=hex(2):25,00,00,00").type, reg::REG_EXPAND_SZ);
    EXPECT_EQ(onlyValue("\"q\"=hex(b):01,00,00,00,00,00,00,00").type, reg::REG_QWORD);
    EXPECT_EQ(onlyValue("\"x\"=hex(100000):ff").type, 0x100000u);
    EXPECT_EQ(onlyValue("\"z\"=hex:").data, "");
}

TEST(RegFileParser, JoinsHexDataContinuedOverLines) {
    const auto step = onlyValue("\"m\"=hex(7):61,00,00,\\\r\n  00,\\\r\n\t00,00");
    EXPECT_EQ(step.type, reg::REG_MULTI_SZ);
    EXPECT_EQ(step.data, utf16Data(WString(u"a\0\0", 3)));
}

TEST(RegFileParser, SkipsCommentsAndBlankLines) {
    const auto steps = parsed(version5("; note\r\n\r\n   \r\n[HKCU\\A]\r\n  ; \"x\"=\"y\"\r\n"));
    ASSERT_EQ(steps.size(), 1u);
}

TEST(RegFileParser, ReadsDeletionsOfKeysAndValues) {
    const auto steps = parsed(version5("[-HKCU\\Old]\r\n[HKCU\\Keep]\r\n\"gone\"=-\r\n@=-\r\n"));
    ASSERT_EQ(steps.size(), 4u);
    EXPECT_EQ(steps[0].action, Action::DeleteKey);
    EXPECT_EQ(steps[0].path, u"Old");
    EXPECT_EQ(steps[2].action, Action::DeleteValue);
    EXPECT_EQ(steps[2].name, u"gone");
    EXPECT_EQ(steps[3].action, Action::DeleteValue);
    EXPECT_EQ(steps[3].name, u"");
}

TEST(RegFileParser, ReadsUtf16LeWithByteOrderMark) {
    const auto steps = parsed(utf16LeFile(
        u"Windows Registry Editor Version 5.00\r\n\r\n[HKCU\\\u00C4\U0001F600]\r\n\"\u20AC\"=\"\u00E9\"\r\n"));
    ASSERT_EQ(steps.size(), 2u);
    EXPECT_EQ(steps[0].path, u"\u00C4\U0001F600");
    EXPECT_EQ(steps[1].name, u"\u20AC");
    EXPECT_EQ(steps[1].data, reg::RegValue::stringData(u"\u00E9"));
}

TEST(RegFileParser, ReadsUtf8WithAndWithoutByteOrderMarkAndAnyLineEnd) {
    const std::string body = "Windows Registry Editor Version 5.00\n[HKCU\\K]\r\"\xE2\x82\xAC\"=\"1\"\n";
    for (const std::string& file : {body, "\xEF\xBB\xBF" + body}) {
        const auto steps = parsed(file);
        ASSERT_EQ(steps.size(), 2u);
        EXPECT_EQ(steps[1].name, u"\u20AC");
    }
}

TEST(RegFileParser, ReadsRegedit4TextsFromTheEightBitCodePage) {
    // 0x80 is the euro sign in Windows-1252; hex(2) there holds single-byte characters, while
    // hex: bytes stay as they are.
    const auto steps = parsed(
        "REGEDIT4\r\n\r\n[HKCU\\K]\r\n\"n\"=\"\x80\"\r\n\"e\"=hex(2):25,80,00\r\n\"b\"=hex:80\r\n");
    ASSERT_EQ(steps.size(), 4u);
    EXPECT_EQ(steps[3].data, "\x80");
    EXPECT_EQ(steps[1].data, reg::RegValue::stringData(u"\u20AC"));
    EXPECT_EQ(steps[2].type, reg::REG_EXPAND_SZ);
    EXPECT_EQ(steps[2].data, reg::RegValue::stringData(u"%\u20AC"));
}

TEST(RegFileParser, NamesTheLineOfTheFirstBadEntry) {
    const std::string file = version5("[HKCU\\K]\r\n\"ok\"=\"1\"\r\n\"bad\"=hex:01,zz\r\n");
    const RegParseError error = parseError(file);
    EXPECT_EQ(error.line, 5u);
    EXPECT_NE(error.message.find("hex"), std::string::npos);
}

TEST(RegFileParser, ReportsTheFirstLineOfAContinuedValue) {
    EXPECT_EQ(parseError(version5("[HKCU\\K]\r\n\"b\"=hex:01,\\\r\n  02,\\\r\n  0g\r\n")).line, 4u);
}

TEST(RegFileParser, RefusesMalformedEntries) {
    const char* const badLines[] = {
        "\"open=\"x\"",          "\"a\"=\"C:\\Temp\"",  "\"a\"=\"x\" trailing",
        "\"a\"",                 "\"a\"=dword:123456789", "\"a\"=dword:",
        "\"a\"=hex(2:00",        "\"a\"=hex:1,,2",      "\"a\"=hex:100",
        "\"a\"=word:1",          "plain text",          "\"a\"=hex:01,\\",
        "[HKEY_CLASSES_ROOT\\x]", "[HKCU\\a\\\\b]",     "[HKCU\\a",
        "[\\\\server\\HKLM\\a]", "[-HKLM]",
    };
    for (const char* line : badLines) {
        const std::string file = version5("[HKCU\\K]\r\n" + std::string(line) + "\r\n");
        EXPECT_EQ(parseError(file).line, 4u) << line;
    }
}

TEST(RegFileParser, RefusesValuesOutsideALiveSection) {
    EXPECT_EQ(parseError(version5("\"a\"=\"1\"\r\n")).line, 3u);
    EXPECT_EQ(parseError(version5("[-HKCU\\K]\r\n\"a\"=\"1\"\r\n")).line, 4u);
}

TEST(RegFileParser, RefusesFilesWithoutTheHeader) {
    for (const std::string file : {"", "[HKCU\\K]\r\n", "Windows Registry Editor Version 4.00\r\n",
                                   "\xFE\xFFxx"}) {
        EXPECT_EQ(parseError(file).line, 1u);
    }
}

TEST(RegFileParser, RefusesUtf16CutInTheMiddleOfACodeUnit) {
    std::string file = utf16LeFile(u"Windows Registry Editor Version 5.00\r\n[HKCU\\K]\r\n");
    file.push_back('[');
    EXPECT_FALSE(parseError(file).message.empty());
}

}  // namespace
}  // namespace korventa::regtool
