#include "refdriver/JobFolder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace korventa::refdriver {
namespace {

constexpr char kNamePrefix[] = "job-";

// Only absolute settings count: a relative cache folder would follow the working directory.
bool cacheHome(std::string& out) {
    const char* cache = std::getenv("XDG_CACHE_HOME");
    if (cache != nullptr && cache[0] == '/') {
        out = cache;
        return true;
    }
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] != '/') return false;
    out = std::string(home) + "/.cache";
    return true;
}

bool makePrivateFolder(const std::string& path) {
    if (::mkdir(path.c_str(), 0700) == 0) return true;
    struct stat existing {};
    return errno == EEXIST && ::lstat(path.c_str(), &existing) == 0 && S_ISDIR(existing.st_mode);
}

bool jobsRoot(std::string& out) {
    std::string base;
    if (!cacheHome(base)) return false;
    std::error_code error;
    std::filesystem::create_directories(base, error);
    if (error) return false;
    out = base + "/talvenir";
    if (!makePrivateFolder(out)) return false;
    out += "/jobs";
    return makePrivateFolder(out);
}

}  // namespace

bool JobFolder::rootPath(std::string& out) {
    if (!cacheHome(out)) return false;
    out += "/talvenir/jobs";
    return true;
}

JobFolder::~JobFolder() {
    if (!path_.empty() && !kept_) ::rmdir(path_.c_str());
}

bool JobFolder::isJobFolder(const std::string& path) {
    std::string root;
    const std::filesystem::path folder(path);
    return rootPath(root) && folder.parent_path() == std::filesystem::path(root) &&
           folder.filename().string().starts_with(kNamePrefix);
}

bool JobFolder::create() {
    std::string root;
    if (!path_.empty() || !jobsRoot(root)) return false;
    std::string pattern = root + "/" + kNamePrefix + "XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) return false;
    path_ = std::move(pattern);
    return true;
}

}  // namespace korventa::refdriver
