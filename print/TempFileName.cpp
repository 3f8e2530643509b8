#include "print/TempFileName.h"

#include <fcntl.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>

#include "core/UniqueFd.h"

namespace korventa {
namespace {

constexpr unsigned kNumberCount = 0xFFFF;

WString hexDigits(unsigned number) {
    constexpr char16_t kDigits[] = u"0123456789ABCDEF";
    WString text(4, u'0');
    for (int i = 3; i >= 0; --i) {
        text[static_cast<std::size_t>(i)] = kDigits[number & 0xF];
        number >>= 4;
    }
    return text;
}

unsigned startingNumber() {
    struct timespec now {};
    ::clock_gettime(CLOCK_REALTIME, &now);
    const auto mixed = static_cast<unsigned long>(now.tv_nsec) ^
                       (static_cast<unsigned long>(::getpid()) << 4);
    return static_cast<unsigned>(mixed % kNumberCount) + 1;
}

}  // namespace

bool GetTempFileNameW(WStringView folder, WStringView prefix, WString& path) {
    return createUniqueFile(folder, prefix, startingNumber(), path);
}

bool createUniqueFile(WStringView folder, WStringView prefix, unsigned firstNumber,
                      WString& path) {
    path.clear();
    if (folder.empty()) return false;
    WString base(folder);
    if (base.back() != u'/') base += u'/';
    base += prefix;
    for (unsigned i = 0; i < kNumberCount; ++i) {
        const unsigned number = (firstNumber - 1 + i) % kNumberCount + 1;
        const WString candidate = base + hexDigits(number) + u".tmp";
        const UniqueFd fd(::open(toUtf8(candidate).c_str(),
                                 O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600));
        if (fd.isOpen()) {
            path = candidate;
            return true;
        }
        // Only a taken name is worth another try; anything else fails for every name.
        if (errno != EEXIST) return false;
    }
    return false;
}

}  // namespace korventa
