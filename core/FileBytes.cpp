#include "core/FileBytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "core/UniqueFd.h"

namespace korventa {
namespace {

// A file that shrinks while it is read gives what it still had; a read error gives nothing.
bool readAll(int fd, std::size_t size, std::string& bytes) {
    bytes.assign(size, '\0');
    std::size_t done = 0;
    while (done < size) {
        const ssize_t got = ::read(fd, bytes.data() + done, size - done);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return false;
        if (got == 0) break;
        done += static_cast<std::size_t>(got);
    }
    bytes.resize(done);
    return true;
}

}  // namespace

bool readFileBytes(const std::string& path, LinkPolicy links, std::size_t maxBytes,
                   std::string& bytes, std::string& error) {
    bytes.clear();
    const int flags = O_RDONLY | O_CLOEXEC | O_NONBLOCK | (links == LinkPolicy::Refuse ? O_NOFOLLOW : 0);
    const UniqueFd file(::open(path.c_str(), flags));
    if (!file.isOpen()) {
        error = "cannot open " + path + ": " + std::strerror(errno);
        return false;
    }
    struct stat info {};
    if (::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        error = path + " is not a regular file";
        return false;
    }
    const auto size = static_cast<std::size_t>(info.st_size);
    if (size > maxBytes) {
        error = path + " is larger than " + std::to_string(maxBytes) + " bytes";
        return false;
    }
    if (readAll(file.get(), size, bytes)) return true;
    error = "cannot read " + path + ": " + std::strerror(errno);
    bytes.clear();
    return false;
}

}  // namespace korventa
