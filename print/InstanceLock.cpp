#include "print/InstanceLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdio>
#include <random>

#include "driver/InstanceOwners.h"

namespace korventa {
namespace {

std::string drawToken() {
    std::random_device device;
    std::string token;
    for (int i = 0; i < 4; ++i) {
        char part[9];
        std::snprintf(part, sizeof part, "%08x", static_cast<unsigned>(device()));
        token += part;
    }
    return token;
}

// The earlier holder's token goes first, so that no reader ever takes it for ours. A token
// that cannot be written stays unknown: jobs then carry no owner, as without a number.
std::string writeToken(int fd) {
    std::string token = drawToken();
    if (::ftruncate(fd, 0) != 0 ||
        ::pwrite(fd, token.data(), token.size(), 0) != static_cast<ssize_t>(token.size())) {
        (void)::ftruncate(fd, 0);
        return {};
    }
    return token;
}

}  // namespace

InstanceLock InstanceLock::acquire(const std::string& folder) {
    if (folder.empty()) return {};
    for (unsigned number = 1; number <= kHighestNumber; ++number) {
        const std::string path = folder + "/" + InstanceOwners::lockFileName(number);
        UniqueFd fd(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
        // A file we cannot open (another user's, a link) leaves its number to its owner.
        if (!fd.isOpen()) continue;
        if (::flock(fd.get(), LOCK_EX | LOCK_NB) == 0) {
            std::string token = writeToken(fd.get());
            return InstanceLock(number, std::move(fd), std::move(token));
        }
    }
    return {};
}

}  // namespace korventa
