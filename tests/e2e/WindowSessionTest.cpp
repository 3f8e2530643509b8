// Starts the real program offscreen on temporary hives, drives its ribbon through the test
// script, lets it close and reads what it left in the user hive.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/registry/RegistryHive.h"
#include "platform/registry/RegistryKey.h"
#include "support/TempDir.h"

extern char** environ;

namespace korventa {
namespace {

constexpr WStringView kUserKey = u"Software\\TALVENIR\\KORVENTA\\KORVENTA";
// Generous: the browser's first start on a loaded machine; the test fails, never hangs.
constexpr auto kRunLimit = std::chrono::seconds(90);

bool run(const std::string& command) {
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

std::string programPath() {
    return (std::filesystem::read_symlink("/proc/self/exe").parent_path() / "korventa").string();
}

// Runs the program to its end; false when it had to be killed or did not exit with 0.
bool runProgram(const std::vector<std::string>& environment) {
    std::vector<std::string> variables;
    for (char** entry = environ; *entry != nullptr; ++entry) variables.emplace_back(*entry);
    variables.insert(variables.end(), environment.begin(), environment.end());
    std::vector<char*> envp;
    for (auto& variable : variables) envp.push_back(variable.data());
    envp.push_back(nullptr);
    std::string program = programPath();
    char* argv[] = {program.data(), nullptr};
    pid_t child = 0;
    if (::posix_spawn(&child, program.c_str(), nullptr, nullptr, argv, envp.data()) != 0) {
        return false;
    }
    const auto deadline = std::chrono::steady_clock::now() + kRunLimit;
    int status = 0;
    while (::waitpid(child, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(child, SIGKILL);
            ::waitpid(child, &status, 0);
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

class WindowSession : public testing::Test {
protected:
    WindowSession() {
        page_ = files_.file("start.html");
        files_.writeFile("start.html", "<p>start</p>");
        files_.writeFile("invoice.html", "<p>invoice</p>");
        // The saved address is a local page, so the first navigation needs no network.
        putText(kUserKey, u"ConvertURL", fromUtf8(page_));
    }

    void putText(WStringView keyPath, WStringView name, WStringView text) {
        reg::RegistryKey key;
        ASSERT_EQ(
            reg::RegistryKey::create(reg::RegistryHive::atPath(hives_.userHive()), keyPath, key),
            reg::RegStatus::Ok);
        ASSERT_EQ(key.setString(name, text), reg::RegStatus::Ok);
        ASSERT_EQ(key.close(), reg::RegStatus::Ok);
    }

    bool runScript(const std::string& script) {
        files_.writeFile("script.txt", script);
        return runProgram({"QT_QPA_PLATFORM=offscreen", "QTWEBENGINE_DISABLE_SANDBOX=1",
                           "QTWEBENGINE_CHROMIUM_FLAGS=--disable-gpu",
                           "KORVENTA_TEST_SCRIPT=" + files_.file("script.txt"),
                           "HOME=" + files_.path(), "XDG_DATA_HOME=" + files_.file("data"),
                           "XDG_CACHE_HOME=" + files_.file("cache"),
                           "XDG_CONFIG_HOME=" + files_.file("config")});
    }

    std::vector<reg::RegValue> valuesIn(WStringView keyPath) {
        reg::RegistryKey key;
        std::vector<reg::RegValue> values;
        if (reg::RegistryKey::open(reg::RegistryHive::atPath(hives_.userHive()), keyPath,
                                   reg::KeyAccess::Read, key) == reg::RegStatus::Ok) {
            EXPECT_EQ(key.values(values), reg::RegStatus::Ok);
        }
        return values;
    }

    WString textIn(WStringView keyPath, WStringView name) {
        for (const auto& value : valuesIn(keyPath)) {
            if (value.name == name)
                return value.text();
        }
        return u"(missing)";
    }

    test::ScopedHives hives_;
    test::TempDir files_;
    std::string page_;
};

TEST_F(WindowSession, CloseWritesTheSevenValuesChangedThroughTheRibbon) {
    const std::string invoice = files_.file("invoice.html");
    ASSERT_TRUE(runScript("set 32774 " + invoice + "\n" +
                          "command 32774\n"
                          "command 32783\n"
                          "command 32785\n"
                          "set 32784 invoice-cmd\n"
                          "command 32784\n"
                          "close\n"));

    // By name; every value REG_SZ with its terminating zero, (length + 1) * 2 bytes.
    const WString start = fromUtf8(page_);
    const WString opened = fromUtf8(invoice);
    const std::vector<std::pair<WString, WString>> expected{
        {u"ConvertCmd", u"False"},
        {u"ConvertCmdCSS", u"invoice-cmd"},
        {u"ConvertCmdHide", u"True"},
        {u"ConvertHTMLAsTemp", u"True"},
        {u"ConvertPrinterName", u"Veltrix PDF Pro"},
        {u"ConvertRecent", u"(" + opened + u")(" + start + u")"},
        {u"ConvertURL", opened},
    };
    std::vector<reg::RegValue> sorted = valuesIn(kUserKey);
    ASSERT_EQ(sorted.size(), expected.size());
    std::sort(sorted.begin(), sorted.end(),
              [](const reg::RegValue& a, const reg::RegValue& b) { return a.name < b.name; });
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(sorted[i].name, expected[i].first);
        EXPECT_EQ(sorted[i].type, reg::REG_SZ) << toUtf8(expected[i].first);
        EXPECT_EQ(sorted[i].data, reg::RegValue::stringData(expected[i].second))
            << toUtf8(expected[i].first);
    }
}

TEST_F(WindowSession, CloseKeepsThePrinterChosenInTheBox) {
    if (!run("lpstat -r 2>/dev/null | grep -q 'scheduler is running'")) {
        GTEST_SKIP() << "the CUPS scheduler is not running (lpstat -r)";
    }
    const std::string queue = "korventa_e2e_" + std::to_string(::getpid());
    if (!run("lpadmin -p " + queue + " -E -v file:///dev/null -P '" KORVENTA_DRIVER_PPD "'")) {
        GTEST_SKIP() << "lpadmin cannot add queues (needs the right to administer CUPS)";
    }
    const bool ran = runScript("set 32773 " + queue + "\ncommand 32773\nclose\n");
    (void)run("lpadmin -x " + queue);
    ASSERT_TRUE(ran);
    EXPECT_EQ(textIn(kUserKey, u"ConvertPrinterName"), fromUtf8(queue));
}

TEST_F(WindowSession, RestoresTheWindowSizeOfTheLastRun) {
    const WStringView workspace = u"Software\\TALVENIR\\KORVENTA\\Workspace";
    ASSERT_TRUE(runScript("close\n"));
    ASSERT_EQ(textIn(workspace, u"WindowWidth"), u"1440");

    putText(workspace, u"WindowWidth", u"900");
    putText(workspace, u"WindowHeight", u"640");
    ASSERT_TRUE(runScript("close\n"));
    EXPECT_EQ(textIn(workspace, u"WindowWidth"), u"900");
    EXPECT_EQ(textIn(workspace, u"WindowHeight"), u"640");
}

}  // namespace
}  // namespace korventa
