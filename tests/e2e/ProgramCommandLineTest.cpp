// The installed window program's command line, run as a user runs it from a terminal.
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "e2e/ProgramSession.h"
#include "platform/registry/RegistryHive.h"
#include "platform/registry/RegistryKey.h"

namespace korventa {
namespace {

using ProgramCommandLine = test::ProgramSession;

std::string fileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST_F(ProgramCommandLine, HelpAndVersionPrintTheirTextAndOpenNoWindow) {
    int exitCode = -1;
    std::string output;
    ASSERT_TRUE(runToEnd("korventa", {"--help"}, {}, exitCode, output));
    EXPECT_EQ(exitCode, 0);
    EXPECT_TRUE(output.starts_with("Usage: korventa")) << output;
    EXPECT_NE(output.find("--zug"), std::string::npos);

    ASSERT_TRUE(runToEnd("korventa", {"--version"}, {}, exitCode, output));
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(output, "korventa " KORVENTA_VERSION "\n");
}

// The ribbon-step script is the scripted test build's alone: the program users get neither
// reads the variable nor refuses to start over it.
TEST_F(ProgramCommandLine, InstalledProgramHasNoTestScriptHook) {
    const auto folder = std::filesystem::read_symlink("/proc/self/exe").parent_path();
    EXPECT_EQ(fileBytes(folder / "korventa").find("KORVENTA_TEST_SCRIPT"), std::string::npos);
    EXPECT_NE(fileBytes(folder / "korventa-scripted").find("KORVENTA_TEST_SCRIPT"),
              std::string::npos);

    int exitCode = -1;
    std::string output;
    ASSERT_TRUE(runToEnd("korventa", {"--version"},
                         {"KORVENTA_TEST_SCRIPT=" + files_.file("missing.txt")}, exitCode,
                         output));
    EXPECT_EQ(exitCode, 0);
}

// A start prints nothing of the browser's own reports, nor what pages log; a logging rule
// brings the pages' console messages back.
TEST_F(ProgramCommandLine, TerminalStaysQuietUnlessTheConsoleLogIsAskedFor) {
    const std::string script = "wait\npage console.log('from the page')\nwait\nclose\n";
    std::string errors;
    ASSERT_TRUE(runScriptKeepingErrors(script, {}, errors));
    for (const char* noise : {"Sandboxing disabled", "qt.webenginecontext", "from the page"})
        EXPECT_EQ(errors.find(noise), std::string::npos) << noise << " in:\n" << errors;

    ASSERT_TRUE(runScriptKeepingErrors(
        script, {"QT_LOGGING_RULES=korventa.console.info=true"}, errors));
    EXPECT_NE(errors.find("from the page"), std::string::npos) << errors;
}

// korventa-setup with a PATH that has no CUPS tools, so no test adds a queue to the shared
// scheduler; the hives are the session's own.
class SetupCommandLine : public test::ProgramSession {
protected:
    SetupCommandLine() {
        std::filesystem::create_directory(files_.file("tools"));
        for (const char* tool : {"id", "grep", "cat"})
            std::filesystem::create_symlink(std::string("/usr/bin/") + tool,
                                            files_.file("tools/") + tool);
    }

    int setup(const std::vector<std::string>& arguments, std::string& output) {
        int exitCode = -1;
        EXPECT_TRUE(runToEnd("korventa-setup", arguments, {"PATH=" + files_.file("tools")},
                             exitCode, output));
        return exitCode;
    }

    WString installPath(reg::RootKey root) {
        const std::string hive = root == reg::RootKey::CurrentUser ? hives_.userHive()
                                                                   : hives_.machineHive();
        reg::RegistryKey key;
        reg::RegValue value;
        if (reg::RegistryKey::open(reg::RegistryHive::atPath(hive), kDriverKey,
                                   reg::KeyAccess::Read, key) != reg::RegStatus::Ok ||
            key.value(u"InstallPath", value) != reg::RegStatus::Ok) {
            return u"(missing)";
        }
        return value.text();
    }

    static constexpr WStringView kDriverKey = u"Software\\TALVENIR\\Veltrix\\PDF\\5.0";
};

TEST_F(SetupCommandLine, HelpAndUnknownArgumentsWriteNothing) {
    std::string output;
    EXPECT_EQ(setup({"--help"}, output), 0);
    EXPECT_TRUE(output.starts_with("Usage: korventa-setup [--user | --machine]")) << output;
    EXPECT_EQ(setup({"--frobnicate"}, output), 2);
    EXPECT_EQ(setup({"--user", "--machine"}, output), 2);
    EXPECT_EQ(installPath(reg::RootKey::CurrentUser), u"(missing)");
    EXPECT_EQ(installPath(reg::RootKey::LocalMachine), u"(missing)");
}

TEST_F(SetupCommandLine, UserAndMachineChooseWhoseSettingsAreWritten) {
    std::string output;
    ASSERT_EQ(setup({"--user"}, output), 0) << output;
    EXPECT_EQ(installPath(reg::RootKey::CurrentUser), fromUtf8(KORVENTA_DRIVER_FOLDER));
    EXPECT_EQ(installPath(reg::RootKey::LocalMachine), u"(missing)");
    if (::geteuid() != 0) {
        EXPECT_EQ(setup({"--machine"}, output), 2);
        return;
    }
    ASSERT_EQ(setup({"--machine"}, output), 0) << output;
    EXPECT_EQ(installPath(reg::RootKey::LocalMachine), fromUtf8(KORVENTA_DRIVER_FOLDER));
}

}  // namespace
}  // namespace korventa
