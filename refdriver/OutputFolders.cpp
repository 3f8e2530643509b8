#include "refdriver/OutputFolders.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "core/Text.h"
#include "refdriver/ChildProcess.h"

namespace korventa::refdriver {
namespace {

std::string absoluteEnv(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && value[0] == '/' ? std::string(value) : std::string();
}

std::string withoutTrailingSlashes(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

// A configured folder: empty when the entry is missing or blank.
std::string configured(const SettingsMap& values, WStringView name) {
    const auto found = values.find(WString(name));
    return found == values.end() ? std::string() : toUtf8(trimBlanks(found->second));
}

bool isDirectory(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool usableFolder(const std::string& folder, const char* what, std::string& result,
                  std::string& error) {
    if (folder.empty() || folder.front() != '/') {
        error = std::string(what) + " \"" + folder + "\" is not an absolute folder";
        return false;
    }
    result = withoutTrailingSlashes(folder);
    return makePrivateFolders(result, error);
}

}  // namespace

std::string documentsFolder() {
    const std::string home = withoutTrailingSlashes(absoluteEnv("HOME"));
    if (home.empty()) return {};
    std::string answer;
    if (runForOutput({"xdg-user-dir", "DOCUMENTS"}, answer)) {
        while (!answer.empty() && (answer.back() == '\n' || answer.back() == '\r')) {
            answer.pop_back();
        }
        answer = withoutTrailingSlashes(answer);
        if (!answer.empty() && answer.front() == '/' && answer != home) return answer;
    }
    return home + "/Documents";
}

bool makePrivateFolders(const std::string& folder, std::string& error) {
    for (std::size_t slash = folder.find('/', 1); ; slash = folder.find('/', slash + 1)) {
        const std::string prefix = folder.substr(0, slash);
        if (::mkdir(prefix.c_str(), 0700) != 0 && !(errno == EEXIST && isDirectory(prefix))) {
            error = "cannot make the folder " + prefix + ": " + std::strerror(errno);
            return false;
        }
        if (slash == std::string::npos) return true;
    }
}

bool destinationFolder(WStringView jobOutputFolder, const SettingsMap& settings,
                       std::string& folder, std::string& error) {
    if (const std::string output = toUtf8(trimBlanks(jobOutputFolder)); !output.empty()) {
        return usableFolder(output, "JobOutputFolder", folder, error);
    }
    if (const std::string dest = configured(settings, u"DestFolder"); !dest.empty()) {
        return usableFolder(dest, "DestFolder", folder, error);
    }
    const std::string documents = documentsFolder();
    return usableFolder(documents.empty() ? documents : documents + "/Veltrix",
                        "the documents folder", folder, error);
}

bool outboxFolder(const SettingsMap& settings, std::string& folder, std::string& error) {
    if (const std::string outbox = configured(settings, u"OutboxFolder"); !outbox.empty()) {
        return usableFolder(outbox, "OutboxFolder", folder, error);
    }
    std::string data = absoluteEnv("XDG_DATA_HOME");
    if (data.empty()) {
        const std::string home = absoluteEnv("HOME");
        data = home.empty() ? home : home + "/.local/share";
    }
    return usableFolder(data.empty() ? data : data + "/talvenir/outbox", "the outbox folder",
                        folder, error);
}

}  // namespace korventa::refdriver
