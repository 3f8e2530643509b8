#include "refdriver/ChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <memory>
#include <string_view>

#include "core/UniqueFd.h"

extern char** environ;

namespace korventa::refdriver {
namespace {

constexpr std::size_t kMaxOutput = 64 * 1024;
constexpr int kOutputWaitMs = 5000;

struct FileActions {
    posix_spawn_file_actions_t actions{};
    FileActions() { posix_spawn_file_actions_init(&actions); }
    ~FileActions() { posix_spawn_file_actions_destroy(&actions); }
    FileActions(const FileActions&) = delete;
    FileActions& operator=(const FileActions&) = delete;
};

std::vector<char*> argumentPointers(const std::vector<std::string>& argv) {
    std::vector<char*> pointers;
    pointers.reserve(argv.size() + 1);
    for (const auto& argument : argv) pointers.push_back(const_cast<char*>(argument.c_str()));
    pointers.push_back(nullptr);
    return pointers;
}

bool isExecutableFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

// The child's standard error is /dev/null, its standard input and output are `in` and `out`
// (or /dev/null where negative).
bool spawn(const std::vector<std::string>& argv, int in, int out, pid_t& pid) {
    const std::string program = findOnPath(argv.front());
    if (program.empty()) return false;
    FileActions files;
    if (in >= 0) {
        posix_spawn_file_actions_adddup2(&files.actions, in, 0);
    } else {
        posix_spawn_file_actions_addopen(&files.actions, 0, "/dev/null", O_RDONLY, 0);
    }
    if (out >= 0) {
        posix_spawn_file_actions_adddup2(&files.actions, out, 1);
    } else {
        posix_spawn_file_actions_addopen(&files.actions, 1, "/dev/null", O_WRONLY, 0);
    }
    posix_spawn_file_actions_addopen(&files.actions, 2, "/dev/null", O_WRONLY, 0);
    auto pointers = argumentPointers(argv);
    return posix_spawn(&pid, program.c_str(), &files.actions, nullptr, pointers.data(),
                       environ) == 0;
}

bool exitedCleanly(pid_t pid) {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return false;
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// False when the program kept its output open past the wait or wrote too much.
bool collect(int in, std::string& output) {
    char buffer[4096];
    pollfd waiting{in, POLLIN, 0};
    while (::poll(&waiting, 1, kOutputWaitMs) > 0) {
        const ssize_t got = ::read(in, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return got == 0;
        output.append(buffer, static_cast<std::size_t>(got));
        if (output.size() > kMaxOutput) return false;
    }
    return false;
}

}  // namespace

std::string findOnPath(const std::string& name) {
    if (name.find('/') != std::string::npos) return isExecutableFile(name) ? name : std::string();
    const char* path = std::getenv("PATH");
    std::string_view rest = path == nullptr ? "/usr/bin:/bin" : path;
    while (!rest.empty()) {
        const std::size_t colon = rest.find(':');
        const std::string_view folder = rest.substr(0, colon);
        rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
        if (folder.empty() || folder.front() != '/') continue;  // never the working directory
        std::string candidate = std::string(folder) + "/" + name;
        if (isExecutableFile(candidate)) return candidate;
    }
    return {};
}

bool runForOutput(const std::vector<std::string>& argv, std::string& output) {
    output.clear();
    int pipeEnds[2];
    if (::pipe2(pipeEnds, O_CLOEXEC) != 0) return false;
    UniqueFd readEnd(pipeEnds[0]);
    UniqueFd writeEnd(pipeEnds[1]);
    pid_t pid = 0;
    if (!spawn(argv, -1, writeEnd.get(), pid)) return false;
    writeEnd.reset();
    const bool complete = collect(readEnd.get(), output);
    if (!complete) ::kill(pid, SIGKILL);
    return exitedCleanly(pid) && complete;
}

bool startDetached(const std::vector<std::string>& argv) {
    std::vector<std::string> detached{"setsid", "-f"};
    const std::string program = findOnPath(argv.front());
    if (program.empty()) return false;
    detached.push_back(program);
    detached.insert(detached.end(), argv.begin() + 1, argv.end());
    pid_t pid = 0;
    return spawn(detached, -1, -1, pid) && exitedCleanly(pid);
}

bool startConnected(const std::vector<std::string>& argv, int stdio, pid_t& pid) {
    return spawn(argv, stdio, stdio, pid);
}

}  // namespace korventa::refdriver
