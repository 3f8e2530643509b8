#include "frame/ReadableFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

namespace korventa {
namespace {

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    [[nodiscard]] int get() const { return fd_; }

private:
    int fd_;
};

}  // namespace

bool opensForReadingAlone(WStringView path) {
    const std::string name = toUtf8(path);
    if (name.empty() || name.find('\0') != std::string::npos)
        return false;
    // Non-blocking, so that a FIFO cannot hold the window thread; it is refused below anyway.
    const FileDescriptor file(::open(name.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (file.get() < 0)
        return false;
    struct stat status {};
    if (::fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode))
        return false;
    return ::flock(file.get(), LOCK_EX | LOCK_NB) == 0;
}

}  // namespace korventa
