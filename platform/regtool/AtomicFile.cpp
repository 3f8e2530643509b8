#include "platform/regtool/AtomicFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace korventa::regtool {
namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

std::string systemReason() { return std::strerror(errno); }

// A file that exists keeps its permissions; a new one gets the usual rw-r--r--.
mode_t modeFor(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) return info.st_mode & 07777;
    return 0644;
}

// pattern ends in XXXXXX and receives the name of the file made.
bool writeTemporary(std::string& pattern, std::string_view bytes, mode_t mode,
                    std::string& error) {
    // The descriptor from mkstemp has no other owner than the FILE it is wrapped in at once.
    const int descriptor = ::mkstemp(pattern.data());
    if (descriptor < 0) {
        error = "cannot create a file in the target folder: " + systemReason();
        return false;
    }
    FileHandle file(::fdopen(descriptor, "wb"));
    if (!file) {
        error = "cannot write the file: " + systemReason();
        ::close(descriptor);
        ::unlink(pattern.c_str());
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size() &&
                         std::fflush(file.get()) == 0 && ::fchmod(descriptor, mode) == 0 &&
                         ::fsync(descriptor) == 0;
    const bool closed = std::fclose(file.release()) == 0;
    if (!written || !closed) {
        error = "cannot write the file: " + systemReason();
        ::unlink(pattern.c_str());
        return false;
    }
    return true;
}

}  // namespace

bool AtomicFile::write(const std::string& path, std::string_view bytes, std::string& error) {
    std::string temporary = path + ".tmp-XXXXXX";
    if (!writeTemporary(temporary, bytes, modeFor(path), error)) return false;
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        error = "cannot replace the file: " + systemReason();
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace korventa::regtool
