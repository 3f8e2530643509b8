#include "print/InstanceLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace korventa {
namespace {

// A folder that only this user can enter: anything else (a symlink, someone else's folder,
// one open to others) could let another user take or fake our numbers.
bool isPrivateFolder(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) return false;
    return S_ISDIR(info.st_mode) && info.st_uid == ::getuid() &&
           (info.st_mode & (S_IRWXG | S_IRWXO)) == 0;
}

std::string temporaryFolder() {
    const char* tmp = std::getenv("TMPDIR");
    return tmp != nullptr && tmp[0] == '/' ? tmp : "/tmp";
}

}  // namespace

std::string InstanceLock::runtimeFolder() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && runtime[0] == '/') return runtime;
    const std::string folder = temporaryFolder() + "/korventa-" + std::to_string(::getuid());
    ::mkdir(folder.c_str(), 0700);
    return isPrivateFolder(folder) ? folder : std::string();
}

std::string InstanceLock::lockFileName(unsigned number) {
    char name[48];
    std::snprintf(name, sizeof name, "SemaVELTKORVENTAInstance.%03u.lock", number);
    return name;
}

InstanceLock InstanceLock::acquire(const std::string& folder) {
    if (folder.empty()) return {};
    for (unsigned number = 1; number <= kHighestNumber; ++number) {
        const std::string path = folder + "/" + lockFileName(number);
        UniqueFd fd(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
        // A file we cannot open (another user's, a link) leaves its number to its owner.
        if (!fd.isOpen()) continue;
        if (::flock(fd.get(), LOCK_EX | LOCK_NB) == 0) return InstanceLock(number, std::move(fd));
    }
    return {};
}

}  // namespace korventa
