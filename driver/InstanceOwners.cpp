#include "driver/InstanceOwners.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "core/UniqueFd.h"
#include "driver/DriverNames.h"
#include "platform/registry/RegistryHive.h"

namespace korventa {
namespace {

constexpr std::size_t kTokenLimit = 64;

// Anything else (a symlink, someone else's folder, one open to others) could let another
// user take or fake our numbers.
bool isPrivateFolder(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) return false;
    return S_ISDIR(info.st_mode) && info.st_uid == ::getuid() &&
           (info.st_mode & (S_IRWXG | S_IRWXO)) == 0;
}

void createFolders(const std::string& folder) {
    for (std::size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        (void)::mkdir(folder.substr(0, slash).c_str(), 0700);
        if (slash == std::string::npos) return;
    }
}

std::string readToken(int fd) {
    char bytes[kTokenLimit];
    const ssize_t count = ::pread(fd, bytes, sizeof bytes, 0);
    return count > 0 ? std::string(bytes, static_cast<std::size_t>(count)) : std::string();
}

}  // namespace

std::string InstanceOwners::folderFor(const std::string& hivePath) {
    return hivePath + ".instances";
}

std::string InstanceOwners::userFolder() {
    const std::string folder =
        folderFor(reg::RegistryHive::local(reg::RootKey::CurrentUser).path());
    createFolders(folder);
    return isPrivateFolder(folder) ? folder : std::string();
}

std::string InstanceOwners::lockFileName(unsigned number) {
    char name[48];
    std::snprintf(name, sizeof name, "SemaVELTKORVENTAInstance.%03u.lock", number);
    return name;
}

std::string InstanceOwners::liveToken(const std::string& folder, unsigned number) {
    const std::string path = folder + "/" + lockFileName(number);
    const UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
    if (!fd.isOpen()) return {};
    // A probe that gets the lock proves nobody holds the number; closing releases it.
    if (::flock(fd.get(), LOCK_SH | LOCK_NB) == 0 || errno != EWOULDBLOCK) return {};
    return readToken(fd.get());
}

unsigned InstanceOwners::numberOfJobPrefix(WStringView prefix) {
    if (prefix.substr(0, InstanceJobPrefixStart.size()) != InstanceJobPrefixStart) return 0;
    prefix.remove_prefix(InstanceJobPrefixStart.size());
    unsigned number = 0;
    std::size_t digits = 0;
    for (; digits < prefix.size() && prefix[digits] >= u'0' && prefix[digits] <= u'9'; ++digits) {
        if (digits == 6) return 0;
        number = number * 10 + static_cast<unsigned>(prefix[digits] - u'0');
    }
    return digits > 0 && prefix.substr(digits) == u"\\" ? number : 0;
}

}  // namespace korventa
