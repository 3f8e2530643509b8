#include "e2e/ProgramSession.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "platform/registry/RegistryHive.h"

extern char** environ;

namespace korventa::test {
namespace {

constexpr WStringView kConverterKey = u"Software\\TALVENIR\\KORVENTA\\KORVENTA";
// Generous: the browser's first start on a loaded machine; the test fails, never hangs.
constexpr auto kRunLimit = std::chrono::seconds(90);

std::filesystem::path binaryFolder() {
    return std::filesystem::read_symlink("/proc/self/exe").parent_path();
}

}  // namespace

bool run(const std::string& command) {
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

ProgramSession::ProgramSession() {
    page_ = files_.file("start.html");
    files_.writeFile("start.html", "<p>start</p>");
    putText(kConverterKey, u"ConvertURL", fromUtf8(page_));
}

ProgramSession::~ProgramSession() {
    for (const std::string& queue : queues_) (void)run("lpadmin -x " + queue);
}

bool ProgramSession::runScript(const std::string& script,
                               const std::vector<std::string>& arguments) {
    return finish(startScript("script.txt", script, arguments));
}

pid_t ProgramSession::startScript(const std::string& scriptName, const std::string& script,
                                  const std::vector<std::string>& arguments) {
    files_.writeFile(scriptName, script);
    return startProgram("korventa-scripted", arguments,
                        {"KORVENTA_TEST_SCRIPT=" + files_.file(scriptName)}, "");
}

bool ProgramSession::runScriptKeepingErrors(const std::string& script,
                                            const std::vector<std::string>& environment,
                                            std::string& errors) {
    files_.writeFile("script.txt", script);
    std::vector<std::string> variables{"KORVENTA_TEST_SCRIPT=" + files_.file("script.txt")};
    variables.insert(variables.end(), environment.begin(), environment.end());
    const bool ended = finish(startProgram("korventa-scripted", {}, variables, "", "errors.txt"));
    errors = files_.readFile("errors.txt");
    return ended;
}

bool ProgramSession::runConverter(const std::vector<std::string>& arguments, int& exitCode,
                                  std::string& output) {
    return runToEnd("korventa-convert", arguments, {}, exitCode, output);
}

bool ProgramSession::runToEnd(const std::string& name, const std::vector<std::string>& arguments,
                              const std::vector<std::string>& environment, int& exitCode,
                              std::string& output) {
    const pid_t program = startProgram(name, arguments, environment, name + ".out");
    int status = 0;
    const bool ended = program != 0 && finishWithStatus(program, status);
    output = files_.readFile(name + ".out");
    exitCode = ended && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return exitCode >= 0;
}

pid_t ProgramSession::startProgram(const std::string& name,
                                   const std::vector<std::string>& arguments,
                                   const std::vector<std::string>& environment,
                                   const std::string& outputName, const std::string& errorName) {
    const std::string libraries = (binaryFolder().parent_path() / "lib").string();
    std::vector<std::string> own{
        "QT_QPA_PLATFORM=offscreen", "QTWEBENGINE_DISABLE_SANDBOX=1",
        "QTWEBENGINE_CHROMIUM_FLAGS=--disable-gpu", "HOME=" + files_.path(),
        "XDG_DATA_HOME=" + files_.file("data"), "XDG_CACHE_HOME=" + files_.file("cache"),
        "XDG_CONFIG_HOME=" + files_.file("config"), "XDG_RUNTIME_DIR=" + files_.path(),
        "LD_LIBRARY_PATH=" + libraries};
    own.insert(own.end(), environment.begin(), environment.end());
    // A variable given twice would leave the program reading the first, the test's own.
    const auto overridden = [&own](const std::string& variable) {
        const std::string variableName = variable.substr(0, variable.find('=') + 1);
        return std::any_of(own.begin(), own.end(), [&variableName](const std::string& mine) {
            return mine.starts_with(variableName);
        });
    };
    std::vector<std::string> variables;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        if (!overridden(*entry))
            variables.emplace_back(*entry);
    }
    variables.insert(variables.end(), own.begin(), own.end());
    std::vector<char*> envp;
    for (auto& variable : variables) envp.push_back(variable.data());
    envp.push_back(nullptr);
    std::string program = (binaryFolder() / name).string();
    std::vector<std::string> words{program};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    const std::string outputPath = files_.file(outputName);
    if (!outputName.empty()) {
        ::posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outputPath.c_str(),
                                           O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ::posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, (outputPath + ".err").c_str(),
                                           O_WRONLY | O_CREAT | O_TRUNC, 0600);
    }
    const std::string errorPath = files_.file(errorName);
    if (!errorName.empty()) {
        ::posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errorPath.c_str(),
                                           O_WRONLY | O_CREAT | O_TRUNC, 0600);
    }
    pid_t child = 0;
    const int started =
        ::posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), envp.data());
    ::posix_spawn_file_actions_destroy(&actions);
    return started == 0 ? child : 0;
}

bool ProgramSession::finish(pid_t program) {
    int status = 0;
    return program != 0 && finishWithStatus(program, status) && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

bool ProgramSession::finishWithStatus(pid_t program, int& status) {
    const auto deadline = std::chrono::steady_clock::now() + kRunLimit;
    while (::waitpid(program, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(program, SIGKILL);
            ::waitpid(program, &status, 0);
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

bool ProgramSession::addDriverQueue(std::string& queue, std::string& why) {
    if (!run("lpstat -r 2>/dev/null | grep -q 'scheduler is running'")) {
        why = "the CUPS scheduler is not running (lpstat -r)";
        return false;
    }
    queue = "korventa_e2e_" + std::to_string(::getpid()) + "_" + std::to_string(queues_.size());
    if (!run("lpadmin -p " + queue + " -E -v file:///dev/null -P '" KORVENTA_DRIVER_PPD "'")) {
        why = "lpadmin cannot add queues (needs the right to administer CUPS)";
        return false;
    }
    queues_.push_back(queue);
    return true;
}

void ProgramSession::putText(WStringView keyPath, WStringView name, WStringView text) {
    reg::RegistryKey key;
    ASSERT_EQ(reg::RegistryKey::create(reg::RegistryHive::atPath(hives_.userHive()), keyPath, key),
              reg::RegStatus::Ok);
    ASSERT_EQ(key.setString(name, text), reg::RegStatus::Ok);
    ASSERT_EQ(key.close(), reg::RegStatus::Ok);
}

std::vector<reg::RegValue> ProgramSession::valuesIn(WStringView keyPath) {
    reg::RegistryKey key;
    std::vector<reg::RegValue> values;
    if (reg::RegistryKey::open(reg::RegistryHive::atPath(hives_.userHive()), keyPath,
                               reg::KeyAccess::Read, key) == reg::RegStatus::Ok) {
        EXPECT_EQ(key.values(values), reg::RegStatus::Ok);
    }
    return values;
}

WString ProgramSession::textIn(WStringView keyPath, WStringView name) {
    for (const auto& value : valuesIn(keyPath)) {
        if (value.name == name)
            return value.text();
    }
    return u"(missing)";
}

}  // namespace korventa::test
