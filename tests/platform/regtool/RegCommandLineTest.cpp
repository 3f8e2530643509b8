#include "platform/regtool/KeyName.h"

#include <gtest/gtest.h>

#include "platform/regtool/RegDataText.h"
#include "platform/regtool/RegTestBytes.h"
#include "platform/regtool/ToolArguments.h"

namespace korventa::regtool {
namespace {

using test::utf16Data;

std::string parsedData(std::uint32_t type, WStringView text) {
    std::string data;
    std::string error;
    EXPECT_TRUE(RegDataText::parse(type, text, data, error)) << error;
    return data;
}

bool refused(std::uint32_t type, WStringView text) {
    std::string data = "unchanged";
    std::string error;
    const bool ok = RegDataText::parse(type, text, data, error);
    return !ok && !error.empty() && data == "unchanged";
}

TEST(KeyName, AcceptsShortAndLongRootsInAnyCase) {
    KeyName name;
    ASSERT_TRUE(KeyName::parse(u"hklm\\Software\\TALVENIR\\", name));
    EXPECT_EQ(name.root(), reg::RootKey::LocalMachine);
    EXPECT_EQ(name.path(), u"Software\\TALVENIR");
    EXPECT_EQ(name.fullName(), u"HKEY_LOCAL_MACHINE\\Software\\TALVENIR");
    ASSERT_TRUE(KeyName::parse(u"HKEY_Current_User", name));
    EXPECT_EQ(name.root(), reg::RootKey::CurrentUser);
    EXPECT_EQ(name.fullName(), u"HKEY_CURRENT_USER");
}

TEST(KeyName, ReadsARemoteMachineHive) {
    KeyName name;
    ASSERT_TRUE(KeyName::parse(u"\\\\srv1\\HKLM\\Software", name));
    EXPECT_TRUE(name.isRemote());
    EXPECT_EQ(name.fullName(), u"\\\\srv1\\HKEY_LOCAL_MACHINE\\Software");
}

TEST(KeyName, RefusesMalformedNames) {
    for (const WString text : {u"", u"HKCR\\x", u"HKLMx\\a", u"HKLM\\\\a", u"HKLM\\a\\\\b",
                               u"HKLM\\a\\\\", u"\\\\\\HKLM\\a", u"\\\\srv", u"\\\\srv\\HKCU\\a"}) {
        KeyName name;
        EXPECT_FALSE(KeyName::parse(text, name)) << toUtf8(text);
    }
}

TEST(RegDataText, ReadsNumbersInDecimalAndHexUpToTheirWidth) {
    EXPECT_EQ(parsedData(reg::REG_DWORD, u"4294967295"), std::string(4, '\xFF'));
    EXPECT_EQ(parsedData(reg::REG_DWORD, u"0x1A"), std::string("\x1A\0\0\0", 4));
    EXPECT_EQ(parsedData(reg::REG_DWORD, u""), std::string(4, '\0'));
    EXPECT_EQ(parsedData(reg::REG_QWORD, u"18446744073709551615"), std::string(8, '\xFF'));
    EXPECT_TRUE(refused(reg::REG_DWORD, u"4294967296"));
    EXPECT_TRUE(refused(reg::REG_DWORD, u"0x100000000"));
    EXPECT_TRUE(refused(reg::REG_DWORD, u"-1"));
    EXPECT_TRUE(refused(reg::REG_QWORD, u"18446744073709551616"));
    EXPECT_TRUE(refused(reg::REG_QWORD, u"0x"));
}

TEST(RegDataText, SplitsListsAtBackslashZeroAndRefusesEmptyItems) {
    EXPECT_EQ(parsedData(reg::REG_MULTI_SZ, u"a\\0bc"), utf16Data(WString(u"a\0bc\0\0", 6)));
    EXPECT_EQ(parsedData(reg::REG_MULTI_SZ, u""), utf16Data(WString(u"\0", 1)));
    EXPECT_TRUE(refused(reg::REG_MULTI_SZ, u"a\\0\\0b"));
    EXPECT_TRUE(refused(reg::REG_MULTI_SZ, u"a\\0"));
}

TEST(RegDataText, ReadsHexBytesForBinaryAndNone) {
    EXPECT_EQ(parsedData(reg::REG_BINARY, u"00fF10"), std::string("\x00\xFF\x10", 3));
    EXPECT_EQ(parsedData(reg::REG_NONE, u""), "");
    EXPECT_TRUE(refused(reg::REG_BINARY, u"abc"));
    EXPECT_TRUE(refused(reg::REG_BINARY, u"zz"));
}

TEST(RegDataText, ShowsDataAsQueryPrintsIt) {
    EXPECT_EQ(RegDataText::display({u"", reg::REG_SZ, reg::RegValue::stringData(u"x")}), u"x");
    EXPECT_EQ(RegDataText::display({u"", reg::REG_DWORD, std::string("\x1F\0\0\0", 4)}), u"0x1f");
    EXPECT_EQ(RegDataText::display({u"", reg::REG_QWORD, std::string(8, '\0')}), u"0x0");
    EXPECT_EQ(RegDataText::display({u"", reg::REG_DWORD, "\x1F"}), u"1F");
    EXPECT_EQ(RegDataText::display({u"", reg::REG_BINARY, "\x0A\xBC"}), u"0ABC");
    EXPECT_EQ(RegDataText::display({u"", reg::REG_MULTI_SZ, utf16Data(WString(u"a\0b\0\0", 5))}),
              u"a\\0b");
}

TEST(ToolArguments, TakesOptionsWithSlashOrDashAndLeavesPathsPositional) {
    ToolArguments args;
    ASSERT_TRUE(ToolArguments::parse({u"HKCU\\K", u"/tmp/out.reg", u"-V", u"/y", u"/D", u"-5"},
                                     {{"v", true}, {"d", true}}, args));
    EXPECT_EQ(args.positional(), (std::vector<WString>{u"HKCU\\K", u"/tmp/out.reg"}));
    EXPECT_EQ(args.value("v"), u"/y");
    EXPECT_EQ(args.value("d"), u"-5");
}

TEST(ToolArguments, RefusesRepeatedOptionsAndMissingValues) {
    ToolArguments args;
    EXPECT_FALSE(ToolArguments::parse({u"/f", u"-F"}, {{"f"}}, args));
    EXPECT_FALSE(ToolArguments::parse({u"/v"}, {{"v", true}}, args));
}

}  // namespace
}  // namespace korventa::regtool
