#include "platform/regtool/RegTool.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <regex>
#include <sstream>

#include "platform/registry/RegistryKey.h"
#include "platform/regtool/RegTestBytes.h"
#include "support/TempDir.h"

namespace korventa::regtool {
namespace {

using test::utf16Data;
using test::utf16LeFile;

constexpr const char* kDone = "The operation completed successfully.\n";

struct Outcome {
    int code = -1;
    std::string out;
    std::string err;
};

class RegToolTest : public ::testing::Test {
protected:
    Outcome run(std::vector<std::string> arguments, const std::string& answers = "",
                bool interactive = true) {
        std::istringstream in(answers);
        std::ostringstream out;
        std::ostringstream err;
        ToolConsole console(in, out, err, interactive);
        const int code = RegTool::run(arguments, console);
        return {code, out.str(), err.str()};
    }

    void runOk(std::vector<std::string> arguments) {
        const Outcome outcome = run(std::move(arguments));
        ASSERT_EQ(outcome.code, 0) << outcome.err;
    }

    // A value's data as the tool shows it, or "missing".
    std::string shown(const std::string& key, const std::string& name) {
        const Outcome outcome = run({"query", key, "/v", name});
        if (outcome.code != 0) return "missing";
        const auto line = outcome.out.find("    " + name + "    ");
        const auto data = outcome.out.rfind("    ", outcome.out.find('\n', line));
        return outcome.out.substr(data + 4, outcome.out.find('\n', line) - data - 4);
    }

    bool keyExists(const std::string& key) { return run({"query", key}).code == 0; }

    static void expectFailure(const Outcome& outcome) {
        EXPECT_EQ(outcome.code, 1);
        EXPECT_EQ(outcome.err.rfind("ERROR: ", 0), 0u) << outcome.err;
        EXPECT_EQ(std::count(outcome.err.begin(), outcome.err.end(), '\n'), 1) << outcome.err;
        EXPECT_EQ(outcome.out.find("completed successfully"), std::string::npos);
    }

    korventa::test::ScopedHives hives_;
};

TEST_F(RegToolTest, QueryPrintsValuesAndSubkeysInTheAdminLayout) {
    runOk({"add", "HKCU\\Software\\K", "/ve", "/d", "def"});
    runOk({"add", "HKCU\\Software\\K", "/v", "Name", "/d", "a b"});
    runOk({"add", "hkcu\\software\\k", "/v", "N", "/t", "REG_DWORD", "/d", "31"});
    runOk({"add", "HKCU\\Software\\K\\Sub"});
    const Outcome outcome = run({"query", "HKCU\\Software\\K"});
    EXPECT_EQ(outcome.code, 0);
    EXPECT_EQ(outcome.out,
              "\nHKEY_CURRENT_USER\\Software\\K\n"
              "    (Default)    REG_SZ    def\n"
              "    Name    REG_SZ    a b\n"
              "    N    REG_DWORD    0x1f\n"
              "\nHKEY_CURRENT_USER\\Software\\K\\Sub\n");
}

TEST_F(RegToolTest, QueryWithSubtreeShowsEveryKeyBelow) {
    runOk({"add", "HKCU\\A\\B\\C", "/v", "x", "/t", "REG_MULTI_SZ", "/d", "p\\0q"});
    const Outcome outcome = run({"query", "HKCU\\A", "/S"});
    EXPECT_EQ(outcome.out,
              "\nHKEY_CURRENT_USER\\A\n\n"
              "\nHKEY_CURRENT_USER\\A\\B\n\n"
              "\nHKEY_CURRENT_USER\\A\\B\\C\n    x    REG_MULTI_SZ    p\\0q\n\n");
}

TEST_F(RegToolTest, QueryOfAValueInTheSubtreeCountsTheKeysHoldingIt) {
    runOk({"add", "HKCU\\A", "/v", "v", "/d", "1"});
    runOk({"add", "HKCU\\A\\B"});
    runOk({"add", "HKCU\\A\\B\\C", "/v", "V", "/d", "2"});
    const Outcome outcome = run({"query", "HKCU\\A", "/v", "v", "/s"});
    EXPECT_EQ(outcome.code, 0);
    EXPECT_NE(outcome.out.find("End of search: 2 match(es) found."), std::string::npos);
    EXPECT_EQ(outcome.out.find("HKEY_CURRENT_USER\\A\\B\n"), std::string::npos);
}

TEST_F(RegToolTest, QueryOfAMissingKeyOrValueFails) {
    runOk({"add", "HKCU\\A"});
    expectFailure(run({"query", "HKCU\\Missing"}));
    expectFailure(run({"query", "HKCU\\A", "/v", "none"}));
    expectFailure(run({"query", "HKCU\\A", "/ve"}));
}

TEST_F(RegToolTest, AddWritesEachTypeAsItsStoredForm) {
    runOk({"add", "HKLM\\K", "/v", "q", "/t", "reg_qword", "/d", "0x10"});
    runOk({"add", "HKLM\\K", "/v", "b", "/t", "REG_BINARY", "/d", "00ff"});
    runOk({"add", "HKLM\\K", "/v", "e", "/t", "REG_EXPAND_SZ", "/d", "%HOME%"});
    runOk({"add", "HKLM\\K", "/v", "n", "/t", "REG_NONE"});
    reg::RegistryKey key;
    ASSERT_EQ(reg::RegistryKey::open(reg::RegistryHive::atPath(hives_.machineHive()), u"K",
                                     reg::KeyAccess::Read, key),
              reg::RegStatus::Ok);
    std::vector<reg::RegValue> values;
    ASSERT_EQ(key.values(values), reg::RegStatus::Ok);
    ASSERT_EQ(values.size(), 4u);
    EXPECT_EQ(values[0].type, reg::REG_QWORD);
    EXPECT_EQ(values[0].data, std::string("\x10\0\0\0\0\0\0\0", 8));
    EXPECT_EQ(values[1].data, std::string("\x00\xFF", 2));
    EXPECT_EQ(values[2].type, reg::REG_EXPAND_SZ);
    EXPECT_EQ(values[2].data, reg::RegValue::stringData(u"%HOME%"));
    EXPECT_EQ(values[3].type, reg::REG_NONE);
    EXPECT_EQ(values[3].data, "");
}

TEST_F(RegToolTest, AddKeepsAnExistingValueWhenTheAnswerIsNo) {
    runOk({"add", "HKCU\\K", "/v", "a", "/d", "old"});
    const Outcome outcome = run({"add", "HKCU\\K", "/v", "a", "/d", "new"}, "maybe\nNo\n");
    expectFailure(outcome);
    EXPECT_EQ(outcome.out, "Value a exists, overwrite (Yes/No)? Value a exists, overwrite (Yes/No)? ");
    EXPECT_EQ(shown("HKCU\\K", "a"), "old");
}

TEST_F(RegToolTest, AddTakesEndOfInputOrANonTerminalAsNo) {
    runOk({"add", "HKCU\\K", "/v", "a", "/d", "old"});
    expectFailure(run({"add", "HKCU\\K", "/v", "a", "/d", "new"}, ""));
    expectFailure(run({"add", "HKCU\\K", "/v", "a", "/d", "new"}, "yes\n", false));
    EXPECT_EQ(shown("HKCU\\K", "a"), "old");
}

TEST_F(RegToolTest, AddOverwritesAfterYesOrWithForce) {
    runOk({"add", "HKCU\\K", "/v", "a", "/d", "1"});
    EXPECT_EQ(run({"add", "HKCU\\K", "/v", "a", "/d", "2"}, "y\n").code, 0);
    EXPECT_EQ(shown("HKCU\\K", "a"), "2");
    const Outcome forced = run({"add", "HKCU\\K", "/v", "a", "/d", "3", "-F"}, "", false);
    EXPECT_EQ(forced.code, 0);
    EXPECT_EQ(forced.out, kDone);
    EXPECT_EQ(shown("HKCU\\K", "a"), "3");
}

TEST_F(RegToolTest, AddRefusesBadDataBeforeCreatingTheKey) {
    const Outcome outcome = run({"add", "HKCU\\K", "/v", "n", "/t", "REG_DWORD", "/d", "12x"});
    expectFailure(outcome);
    EXPECT_NE(outcome.err.find("REG_DWORD"), std::string::npos);
    EXPECT_FALSE(keyExists("HKCU\\K"));
}

TEST_F(RegToolTest, RefusesBadCommandLinesWithOneErrorLine) {
    const std::vector<std::vector<std::string>> lines = {
        {},
        {"frobnicate", "HKCU\\K"},
        {"query"},
        {"query", "HKCU\\K", "extra"},
        {"query", "HKCR\\K"},
        {"add", "HKCU\\K", "/v", "a", "/ve"},
        {"add", "HKCU\\K", "/d", "x"},
        {"add", "HKCU\\K", "/v", "a", "/t", "REG_LINK"},
        {"add", "HKCU\\K", "/v"},
        {"add", "HKCU\\\\K"},
        {"delete", "HKCU\\K", "/v", "a", "/va"},
        {"export", "HKCU\\K"},
        {"export", "\\\\srv\\HKLM\\K", "out.reg"},
        {"import"},
    };
    for (const auto& line : lines) {
        const Outcome outcome = run(line);
        expectFailure(outcome);
        EXPECT_EQ(outcome.out, "");
    }
}

TEST_F(RegToolTest, VersionIsOneLineAndOpensNoHive) {
    const Outcome outcome = run({"--version"});
    EXPECT_EQ(outcome.code, 0);
    const std::regex versionLine("korventa-reg [0-9]+\\.[0-9]+\\.[0-9]+\n");
    EXPECT_TRUE(std::regex_match(outcome.out, versionLine)) << outcome.out;
    EXPECT_EQ(outcome.err, "");
    EXPECT_FALSE(std::filesystem::exists(hives_.userHive()));
    EXPECT_FALSE(std::filesystem::exists(hives_.machineHive()));
}

TEST_F(RegToolTest, DeleteKeyRemovesTheWholeTreeOnlyAfterYes) {
    runOk({"add", "HKCU\\A\\B", "/v", "x", "/d", "1"});
    const Outcome refused = run({"delete", "HKCU\\a"}, "n\n");
    expectFailure(refused);
    EXPECT_EQ(refused.out, "Permanently delete the registry key HKEY_CURRENT_USER\\A (Yes/No)? ");
    EXPECT_TRUE(keyExists("HKCU\\A\\B"));
    EXPECT_EQ(run({"delete", "HKCU\\a"}, "Yes\n").code, 0);
    EXPECT_FALSE(keyExists("HKCU\\A"));
}

TEST_F(RegToolTest, DeleteOfOneValueOrAllValuesKeepsSubkeys) {
    runOk({"add", "HKCU\\A", "/v", "x", "/d", "1"});
    runOk({"add", "HKCU\\A", "/v", "y", "/d", "2"});
    runOk({"add", "HKCU\\A", "/ve", "/d", "3"});
    runOk({"add", "HKCU\\A\\B", "/v", "z", "/d", "4"});
    runOk({"delete", "HKCU\\A", "/v", "x", "/f"});
    EXPECT_EQ(shown("HKCU\\A", "x"), "missing");
    EXPECT_EQ(shown("HKCU\\A", "y"), "2");
    runOk({"delete", "HKCU\\A", "/va", "/f"});
    EXPECT_EQ(run({"query", "HKCU\\A"}).out,
              "\nHKEY_CURRENT_USER\\A\n\nHKEY_CURRENT_USER\\A\\B\n");
    EXPECT_EQ(shown("HKCU\\A\\B", "z"), "4");
}

TEST_F(RegToolTest, DeleteRefusesMissingTargetsAndHiveRoots) {
    runOk({"add", "HKCU\\A", "/v", "x", "/d", "1"});
    expectFailure(run({"delete", "HKCU\\Missing", "/f"}));
    expectFailure(run({"delete", "HKCU\\A", "/v", "other", "/f"}));
    expectFailure(run({"delete", "HKCU", "/f"}));
    expectFailure(run({"delete", "HKEY_CURRENT_USER\\", "/f"}));
    EXPECT_EQ(shown("HKCU\\A", "x"), "1");
}

TEST_F(RegToolTest, ExportWritesAUtf16RegFileOfTheTree) {
    runOk({"add", "HKCU\\Software\\K", "/v", "s", "/d", "v"});
    runOk({"add", "HKCU\\Software\\K\\Sub", "/v", "n", "/t", "REG_DWORD", "/d", "1"});
    const std::string file = hives_.dir().file("out.reg");
    const Outcome outcome = run({"export", "HKCU\\Software\\K", file});
    EXPECT_EQ(outcome.out, kDone);
    EXPECT_EQ(hives_.dir().readFile("out.reg"),
              utf16LeFile(u"Windows Registry Editor Version 5.00\r\n\r\n"
                          u"[HKEY_CURRENT_USER\\Software\\K]\r\n\"s\"=\"v\"\r\n\r\n"
                          u"[HKEY_CURRENT_USER\\Software\\K\\Sub]\r\n\"n\"=dword:00000001\r\n\r\n"));
}

TEST_F(RegToolTest, ExportAsksBeforeReplacingAFile) {
    runOk({"add", "HKCU\\K"});
    hives_.dir().writeFile("out.reg", "keep");
    expectFailure(run({"export", "HKCU\\K", hives_.dir().file("out.reg")}, "no\n"));
    EXPECT_EQ(hives_.dir().readFile("out.reg"), "keep");
    runOk({"export", "HKCU\\K", hives_.dir().file("out.reg"), "/y"});
    EXPECT_NE(hives_.dir().readFile("out.reg"), "keep");
}

TEST_F(RegToolTest, ImportAppliesChangesToBothHives) {
    runOk({"add", "HKLM\\Software\\Old\\Deep", "/v", "x", "/d", "1"});
    runOk({"add", "HKCU\\Software\\K", "/v", "gone", "/d", "1"});
    hives_.dir().writeFile("in.reg", test::version5(
        "[-HKEY_LOCAL_MACHINE\\Software\\Old]\r\n"
        "[HKEY_LOCAL_MACHINE\\Software\\TALVENIR\\Veltrix\\PDF\\5.0]\r\n"
        "\"InstallPath\"=\"/opt/veltrix\"\r\n"
        "[HKEY_CURRENT_USER\\Software\\K]\r\n\"gone\"=-\r\n\"new\"=\"2\"\r\n"
        "[-HKEY_CURRENT_USER\\Software\\NeverThere]\r\n"));
    const Outcome outcome = run({"import", hives_.dir().file("in.reg")});
    EXPECT_EQ(outcome.code, 0) << outcome.err;
    EXPECT_EQ(outcome.out, kDone);
    EXPECT_FALSE(keyExists("HKLM\\Software\\Old"));
    EXPECT_EQ(shown("HKLM\\Software\\TALVENIR\\Veltrix\\PDF\\5.0", "InstallPath"), "/opt/veltrix");
    EXPECT_EQ(shown("HKCU\\Software\\K", "gone"), "missing");
    EXPECT_EQ(shown("HKCU\\Software\\K", "new"), "2");
}

TEST_F(RegToolTest, ImportOfAFileWithABadLineChangesNothing) {
    runOk({"add", "HKCU\\K", "/v", "a", "/d", "old"});
    const std::string file = hives_.dir().file("in.reg");
    hives_.dir().writeFile("in.reg", test::version5("[HKCU\\K]\r\n\"a\"=\"new\"\r\n"
                                                    "[HKLM\\M]\r\n\"n\"=dword:xyz\r\n"));
    const Outcome outcome = run({"import", file});
    expectFailure(outcome);
    EXPECT_NE(outcome.err.find(file + ", line 6: "), std::string::npos) << outcome.err;
    EXPECT_EQ(shown("HKCU\\K", "a"), "old");
    EXPECT_FALSE(keyExists("HKLM\\M"));
}

TEST_F(RegToolTest, ImportKeepsTheUserHiveWhenTheMachineHiveRefusesItsPart) {
    runOk({"add", "HKCU\\K", "/v", "a", "/d", "old"});
    hives_.dir().writeFile("machine.db", std::string(4096, 'x'));
    hives_.dir().writeFile("in.reg", test::version5("[HKCU\\K]\r\n\"a\"=\"new\"\r\n"
                                                    "[HKLM\\M]\r\n\"n\"=\"1\"\r\n"));
    const Outcome outcome = run({"import", hives_.dir().file("in.reg")});
    expectFailure(outcome);
    EXPECT_NE(outcome.err.find(hives_.machineHive()), std::string::npos) << outcome.err;
    EXPECT_EQ(shown("HKCU\\K", "a"), "old");
}

TEST_F(RegToolTest, ExportThenImportRestoresEveryTypeAndAwkwardName) {
    const std::string key = "HKLM\\Software\\R\\\xC3\xA4 \"q\" ]x";
    runOk({"add", key, "/ve", "/d", "C:\\dir\\"});
    runOk({"add", key, "/v", "back\\slash \"quote\" \xE2\x82\xAC", "/d", "\\\"\\"});
    runOk({"add", key, "/v", "e", "/t", "REG_EXPAND_SZ", "/d", "%PATH%"});
    runOk({"add", key, "/v", "m", "/t", "REG_MULTI_SZ", "/d", "a\\0\xC3\xA4"});
    runOk({"add", key, "/v", "d", "/t", "REG_DWORD", "/d", "4294967295"});
    runOk({"add", key, "/v", "q", "/t", "REG_QWORD", "/d", "18446744073709551615"});
    runOk({"add", key, "/v", "b", "/t", "REG_BINARY", "/d", std::string(200, 'a')});
    runOk({"add", key, "/v", "n", "/t", "REG_NONE", "/d", "00"});
    runOk({"add", key + "\\child", "/v", "c", "/d", ""});
    const std::string first = hives_.dir().file("first.reg");
    const std::string second = hives_.dir().file("second.reg");
    runOk({"export", "HKLM\\Software\\R", first});
    runOk({"delete", "HKLM\\Software\\R", "/f"});
    runOk({"import", first});
    runOk({"export", "HKLM\\Software\\R", second});
    EXPECT_EQ(hives_.dir().readFile("second.reg"), hives_.dir().readFile("first.reg"));
    EXPECT_EQ(shown(key, "m"), "a\\0\xC3\xA4");
    EXPECT_EQ(shown(key, "q"), "0xffffffffffffffff");
}

TEST_F(RegToolTest, ReportsADamagedHiveByName) {
    hives_.dir().writeFile("user.db", std::string(4096, 'x'));
    const Outcome outcome = run({"query", "HKCU\\K"});
    expectFailure(outcome);
    EXPECT_NE(outcome.err.find(hives_.userHive()), std::string::npos) << outcome.err;
    EXPECT_NE(outcome.err.find("damaged"), std::string::npos) << outcome.err;
    expectFailure(run({"add", "HKCU\\K", "/v", "a", "/d", "1"}));
    EXPECT_EQ(hives_.dir().readFile("user.db"), std::string(4096, 'x'));
}

class RemoteRegToolTest : public RegToolTest {
protected:
    void SetUp() override {
        ::setenv("TALVENIR_REMOTE_HIVE", hives_.dir().file("%s.db").c_str(), 1);
    }
    void TearDown() override { ::unsetenv("TALVENIR_REMOTE_HIVE"); }
};

TEST_F(RemoteRegToolTest, ReachesAnotherMachinesHiveByServerName) {
    reg::RegistryKey key;
    ASSERT_EQ(reg::RegistryKey::create(reg::RegistryHive::atPath(hives_.dir().file("srv1.db")),
                                       u"Software\\TALVENIR", key),
              reg::RegStatus::Ok);
    ASSERT_EQ(key.setString(u"RemoteRegServer", u"False"), reg::RegStatus::Ok);
    ASSERT_EQ(key.close(), reg::RegStatus::Ok);
    runOk({"add", "\\\\srv1\\HKLM\\Software\\TALVENIR", "/v", "X", "/d", "y"});
    const Outcome outcome = run({"query", "\\\\srv1\\HKLM\\Software\\TALVENIR"});
    EXPECT_EQ(outcome.out,
              "\n\\\\srv1\\HKEY_LOCAL_MACHINE\\Software\\TALVENIR\n"
              "    RemoteRegServer    REG_SZ    False\n    X    REG_SZ    y\n\n");
    EXPECT_EQ(shown("HKLM\\Software\\TALVENIR", "X"), "missing");
}

TEST_F(RemoteRegToolTest, ReportsAnUnreachableServer) {
    const Outcome outcome = run({"query", "\\\\nowhere\\HKLM\\Software"});
    expectFailure(outcome);
    EXPECT_NE(outcome.err.find("network path"), std::string::npos) << outcome.err;
}

}  // namespace
}  // namespace korventa::regtool
