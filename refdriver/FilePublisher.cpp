#include "refdriver/FilePublisher.h"

#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>

namespace korventa::refdriver {
namespace {

// " (2)" up to " (9999)": past that the folder is taken to be unusable, not searched forever.
constexpr int kMaxNumber = 9999;

std::atomic<unsigned> temporaryCounter{0};

std::string reason(const char* what) { return std::string(what) + ": " + std::strerror(errno); }

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

std::string numbered(const std::string& baseName, int number) {
    return number == 1 ? baseName : baseName + " (" + std::to_string(number) + ")";
}

}  // namespace

FilePublisher::~FilePublisher() {
    for (const Pending& file : pending_) {
        if (!file.temporaryName.empty()) ::unlinkat(folderFd_.get(), file.temporaryName.c_str(), 0);
    }
}

bool FilePublisher::open(const std::string& folder, std::string& error) {
    folderFd_ = UniqueFd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folderFd_.isOpen()) {
        error = reason(("cannot open the folder " + folder).c_str());
        return false;
    }
    folder_ = folder;
    return true;
}

// The temporary file is created with mode 0666 so that the user's umask decides, as for any
// file the user saves; its name starts with a dot and is never a final name.
bool FilePublisher::add(std::string_view extension, std::string_view bytes, std::string& error) {
    Pending file{std::string(extension), {}, false};
    UniqueFd out;
    while (!out.isOpen()) {
        file.temporaryName = ".korventa-" + std::to_string(::getpid()) + "-" +
                             std::to_string(temporaryCounter++) + ".part";
        out = UniqueFd(::openat(folderFd_.get(), file.temporaryName.c_str(),
                                O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
        if (!out.isOpen() && errno != EEXIST) {
            error = reason(("cannot create a file in " + folder_).c_str());
            return false;
        }
    }
    pending_.push_back(file);
    if (!writeAll(out.get(), bytes) || ::fsync(out.get()) != 0) {
        error = reason(("cannot write a file in " + folder_).c_str());
        return false;
    }
    return true;
}

bool FilePublisher::publish(const std::string& baseName, std::string& error) {
    for (int number = firstFreeGuess(baseName); number <= kMaxNumber; ++number) {
        switch (publishAs(numbered(baseName, number), error)) {
            case Attempt::Published:
                ::fsync(folderFd_.get());
                return true;
            case Attempt::NameTaken:
                break;
            case Attempt::Failed:
                return false;
        }
    }
    error = "no free name for " + baseName + " in " + folder_;
    return false;
}

bool FilePublisher::isTaken(const std::string& stem) const {
    struct stat info {};
    return std::any_of(pending_.begin(), pending_.end(), [&](const Pending& file) {
        return ::fstatat(folderFd_.get(), (stem + file.extension).c_str(), &info,
                         AT_SYMLINK_NOFOLLOW) == 0;
    });
}

// Probing names one by one from 1 makes a folder with n files of one title cost n attempts
// per job. Taken numbers are mostly a prefix, so doubling steps and halving back find the end
// of that prefix in about 2 log n looks. Only a guess: the renames after it still decide, so
// another process taking the name meanwhile just moves the search on.
int FilePublisher::firstFreeGuess(const std::string& baseName) const {
    if (!isTaken(numbered(baseName, 1))) return 1;
    int taken = 1;
    int step = 1;
    while (taken + step <= kMaxNumber && isTaken(numbered(baseName, taken + step))) {
        taken += step;
        step *= 2;
    }
    int free = std::min(taken + step, kMaxNumber + 1);
    while (free - taken > 1) {
        const int middle = taken + (free - taken) / 2;
        (isTaken(numbered(baseName, middle)) ? taken : free) = middle;
    }
    return free;
}

FilePublisher::Attempt FilePublisher::publishAs(const std::string& stem, std::string& error) {
    paths_.clear();
    for (std::size_t i = 0; i < pending_.size(); ++i) {
        const std::string name = stem + pending_[i].extension;
        const Attempt attempt = place(pending_[i], name, error);
        if (attempt != Attempt::Published) {
            for (std::size_t done = 0; done < i; ++done) {
                takeBack(pending_[done], stem + pending_[done].extension);
            }
            paths_.clear();
            return attempt;
        }
        paths_.push_back(folder_ + "/" + name);
    }
    for (Pending& file : pending_) {
        if (file.linked) ::unlinkat(folderFd_.get(), file.temporaryName.c_str(), 0);
        file.temporaryName.clear();
    }
    return Attempt::Published;
}

FilePublisher::Attempt FilePublisher::place(Pending& file, const std::string& name,
                                            std::string& error) {
    const int dir = folderFd_.get();
    file.linked = false;
    if (::renameat2(dir, file.temporaryName.c_str(), dir, name.c_str(), RENAME_NOREPLACE) == 0) {
        return Attempt::Published;
    }
    if (errno == EINVAL || errno == ENOSYS) {
        file.linked = ::linkat(dir, file.temporaryName.c_str(), dir, name.c_str(), 0) == 0;
        if (file.linked) return Attempt::Published;
    }
    if (errno == EEXIST) return Attempt::NameTaken;
    error = reason(("cannot name " + name + " in " + folder_).c_str());
    return Attempt::Failed;
}

// Only names this object has just made are taken back: nobody else replaces a name.
void FilePublisher::takeBack(const Pending& file, const std::string& name) {
    const int dir = folderFd_.get();
    if (file.linked) {
        ::unlinkat(dir, name.c_str(), 0);
    } else {
        ::renameat2(dir, name.c_str(), dir, file.temporaryName.c_str(), RENAME_NOREPLACE);
    }
}

}  // namespace korventa::refdriver
