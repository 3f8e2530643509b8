#include "platform/registry/HiveFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace korventa::reg {
namespace {

RegStatus statusOfErrno(int error) {
    switch (error) {
        case ENOENT:
        case ENOTDIR:
            return RegStatus::NotFound;
        case EACCES:
        case EPERM:
        case EROFS:
            return RegStatus::AccessDenied;
        default:
            return RegStatus::IoError;
    }
}

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

RegStatus createFolders(const std::string& folder) {
    for (std::size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        const std::string prefix = folder.substr(0, slash);
        if (::mkdir(prefix.c_str(), 0700) != 0 && errno != EEXIST)
            return statusOfErrno(errno);
        if (slash == std::string::npos)
            return RegStatus::Ok;
    }
}

}  // namespace

RegStatus findHiveFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? RegStatus::Ok : statusOfErrno(errno);
}

RegStatus createHiveFile(const std::string& path) {
    if (const RegStatus status = createFolders(folderOf(path)); status != RegStatus::Ok) {
        return status == RegStatus::NotFound ? RegStatus::IoError : status;
    }
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return statusOfErrno(errno);
    ::close(fd);
    return RegStatus::Ok;
}

RegStatus checkHiveWritable(const std::string& path) {
    if (::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0 ||
        ::faccessat(AT_FDCWD, folderOf(path).c_str(), W_OK | X_OK, AT_EACCESS) != 0) {
        return errno == ENOENT ? RegStatus::NotFound : RegStatus::AccessDenied;
    }
    return RegStatus::Ok;
}

}  // namespace korventa::reg
