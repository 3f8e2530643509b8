// This process's instance number among the running converters: the lowest number from 1 to
// 999 whose lock file in the user's runtime folder no other holder has locked. The lock is a
// flock on a descriptor this object owns, so the kernel gives the number back when the
// process ends in any way, a crash or a fail-fast exit included. Window thread.
#pragma once

#include <string>

#include "core/UniqueFd.h"

namespace korventa {

class InstanceLock {
public:
    static constexpr unsigned kHighestNumber = 999;

    // Number 0 (no lock held) when the folder cannot be used or every number is taken.
    [[nodiscard]] static InstanceLock acquire(const std::string& folder);
    // $XDG_RUNTIME_DIR when it is set and absolute, else a private folder under the temporary
    // folder (created 0700; refused unless it is a real folder of this user, not a symlink).
    // Empty when neither is usable.
    [[nodiscard]] static std::string runtimeFolder();
    // "SemaVELTKORVENTAInstance.007.lock" for number 7.
    [[nodiscard]] static std::string lockFileName(unsigned number);

    InstanceLock() = default;

    [[nodiscard]] unsigned number() const { return number_; }

private:
    InstanceLock(unsigned number, UniqueFd lock) : number_(number), lock_(std::move(lock)) {}

    unsigned number_ = 0;
    UniqueFd lock_;
};

}  // namespace korventa
