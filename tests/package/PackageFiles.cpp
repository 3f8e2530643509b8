#include "package/PackageFiles.h"

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>

namespace korventa::test {

CommandResult runCommand(const std::string& command) {
    CommandResult result;
    const std::string merged = "exec 2>&1; " + command;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(merged.c_str(), "r"), ::pclose);
    if (!pipe)
        return result;
    std::array<char, 4096> chunk{};
    for (std::size_t got; (got = std::fread(chunk.data(), 1, chunk.size(), pipe.get())) > 0;)
        result.output.append(chunk.data(), got);
    const int status = ::pclose(pipe.release());
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

std::string shellQuoted(const std::string& text) {
    std::string result = "'";
    for (const char c : text) result += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return result + "'";
}

std::string builtPackage() {
    std::string found;
    std::error_code failure;
    for (const auto& entry : std::filesystem::directory_iterator(KORVENTA_PACKAGE_DIR, failure)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("korventa_" KORVENTA_VERSION "_", 0) != 0 ||
            entry.path().extension() != ".deb")
            continue;
        if (!found.empty())
            return {};
        found = entry.path().string();
    }
    return found;
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

}  // namespace korventa::test
