#include "refdriver/RuleChecker.h"

#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <chrono>
#include <filesystem>
#include <vector>

#include "refdriver/ChildProcess.h"

namespace korventa::refdriver {
namespace {

using Clock = std::chrono::steady_clock;

// Where Debian's libsaxonhe-java puts the processor.
constexpr const char* kSaxonJar = "/usr/share/java/Saxon-HE.jar";
constexpr const char* kCheckerJar = "invoice-rules.jar";
constexpr const char* kRules = "EN16931-CII-validation.xslt";
// The first answer includes the JVM's start and the stylesheet's compilation (2 s unloaded).
constexpr auto kAnswerWait = std::chrono::seconds(90);
constexpr std::size_t kMaxHeader = 40;
constexpr int kCheckerNice = 10;
constexpr std::size_t kMaxAnswer = std::size_t{256} << 20;

// Waits until the socket is ready for `events`; false on the deadline or an error.
bool await(int fd, short events, Clock::time_point deadline) {
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) return false;
        pollfd waiting{fd, events, 0};
        const int ready = ::poll(&waiting, 1, static_cast<int>(left.count()));
        if (ready > 0) return (waiting.revents & events) != 0 || (waiting.revents & POLLHUP);
        if (ready < 0 && errno != EINTR) return false;
    }
}

bool sendAll(int fd, std::string_view bytes, Clock::time_point deadline) {
    while (!bytes.empty()) {
        if (!await(fd, POLLOUT, deadline)) return false;
        const ssize_t sent = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (sent < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (sent <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(sent));
    }
    return true;
}

// Reads until `until` returns true for what has arrived; false at the end or the deadline.
template <typename Done>
bool receive(int fd, std::string& bytes, Clock::time_point deadline, Done until) {
    char buffer[65536];
    while (!until(bytes)) {
        if (!await(fd, POLLIN, deadline)) return false;
        const ssize_t got = ::recv(fd, buffer, sizeof buffer, MSG_DONTWAIT);
        if (got < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (got <= 0) return false;
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
    return true;
}

void say(const std::string& text) {
    const std::string line = "veltpdfp: " + text + "\n";
    [[maybe_unused]] const ssize_t ignored = ::write(STDERR_FILENO, line.data(), line.size());
}

}  // namespace

RuleChecker::~RuleChecker() { stop(); }

// A checker that is busy is running: the caller (a print on the window thread) must not wait
// for the check under way.
void RuleChecker::warmUp() {
    const std::unique_lock lock(mutex_, std::try_to_lock);
    if (!lock.owns_lock()) return;
    std::string reason;
    if (!socket_.isOpen() && !missingPart(reason)) (void)start(reason);
}

bool RuleChecker::check(std::string_view xml, std::string& svrl, std::string& reason) {
    const std::lock_guard lock(mutex_);
    if (!socket_.isOpen() && !start(reason)) return false;
    switch (exchange(xml, svrl, reason)) {
        case Exchange::Report:
            return true;
        case Exchange::Refusal:
            return false;
        case Exchange::Broken:
            stop();
            return false;
    }
    return false;
}

bool RuleChecker::missingPart(std::string& reason) const {
    if (findOnPath("java").empty()) {
        reason = "Java is not installed (no java program on the search path)";
    } else if (!std::filesystem::exists(kSaxonJar)) {
        reason = std::string("Saxon-HE is not installed (") + kSaxonJar + ")";
    } else if (!std::filesystem::exists(folder_ + "/" + kCheckerJar) ||
               !std::filesystem::exists(folder_ + "/" + kRules)) {
        reason = "the rule checker is not installed in " + folder_;
    } else {
        return false;
    }
    return true;
}

bool RuleChecker::start(std::string& reason) {
    if (missingPart(reason)) {
        reason = "the EN 16931 rules were not checked: " + reason;
        if (!std::exchange(toldMissing_, true)) say(reason);
        return false;
    }
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) {
        reason = "the EN 16931 rules were not checked: no socket for the rule checker";
        return false;
    }
    UniqueFd ours(ends[0]);
    const UniqueFd theirs(ends[1]);
    // One collector thread and no optimising compiler: the start matters more than the peak.
    // A small first heap (the default is a 64th of the memory) spares the start the faults
    // of touching it, and no performance-data file is written to /tmp. The JVM logs its
    // warnings to standard output, which is our socket: they go to stderr.
    const std::vector<std::string> argv{
        findOnPath("java"), "-XX:+UseSerialGC", "-XX:TieredStopAtLevel=1", "-Xss8m",
        "-Xms32m", "-XX:-UsePerfData", "-Xlog:disable", "-Xlog:all=warning:stderr",
        "-cp", folder_ + "/" + kCheckerJar + ":" + kSaxonJar, "InvoiceRules",
        folder_ + "/" + kRules};
    if (!startConnected(argv, theirs.get(), pid_)) {
        pid_ = -1;
        reason = "the EN 16931 rules were not checked: the rule checker did not start";
        return false;
    }
    // The checker's start and compilation would otherwise take CPU from the page that is
    // printing; behind it, they use what the browser leaves. Set while the JVM is still
    // loading, before it starts its threads, which inherit it.
    (void)::setpriority(PRIO_PROCESS, static_cast<id_t>(pid_), kCheckerNice);
    socket_ = std::move(ours);
    return true;
}

RuleChecker::Exchange RuleChecker::exchange(std::string_view xml, std::string& svrl,
                                            std::string& reason) {
    const auto deadline = Clock::now() + kAnswerWait;
    const std::string header = std::to_string(xml.size()) + "\n";
    std::string answer;
    const auto headerArrived = [](const std::string& bytes) {
        return bytes.find('\n') != std::string::npos || bytes.size() > kMaxHeader;
    };
    if (!sendAll(socket_.get(), header, deadline) || !sendAll(socket_.get(), xml, deadline) ||
        !receive(socket_.get(), answer, deadline, headerArrived)) {
        reason = std::string("the EN 16931 rules were not checked: the rule checker ") +
                 (Clock::now() >= deadline ? "gave no answer in time" : "stopped");
        return Exchange::Broken;
    }
    const std::size_t lineEnd = answer.find('\n');
    const std::size_t space = answer.find(' ');
    std::size_t size = 0;
    const bool known = lineEnd != std::string::npos && space < lineEnd &&
                       std::from_chars(answer.data() + space + 1, answer.data() + lineEnd, size)
                               .ec == std::errc() &&
                       size <= kMaxAnswer;
    const std::string kind = answer.substr(0, space);
    if (!known || (kind != "ok" && kind != "error")) {
        reason = "the EN 16931 rules were not checked: the rule checker's answer is not understood";
        return Exchange::Broken;
    }
    answer.erase(0, lineEnd + 1);
    if (!receive(socket_.get(), answer, deadline,
                 [size](const std::string& bytes) { return bytes.size() >= size; }) ||
        answer.size() != size) {
        reason = "the EN 16931 rules were not checked: the rule checker stopped in its answer";
        return Exchange::Broken;
    }
    if (kind == "ok") {
        svrl = std::move(answer);
        return Exchange::Report;
    }
    reason = "the EN 16931 rules could not be run on this XML: " + answer;
    return Exchange::Refusal;
}

// The checker keeps nothing worth an orderly end, and one still compiling would not see its
// input close: it is killed.
void RuleChecker::stop() {
    socket_.reset();
    if (pid_ <= 0) return;
    ::kill(pid_, SIGKILL);
    while (::waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
    }
    pid_ = -1;
}

}  // namespace korventa::refdriver
