// This process's instance number among the running converters that share the user hive: the
// lowest number from 1 to 999 whose lock file (see InstanceOwners) no other holder has
// locked. The lock is a flock on a descriptor this object owns, so the kernel gives the
// number back when the process ends in any way, a crash or a fail-fast exit included. The
// file holds a fresh random owner token while locked, which the driver writes into each job
// key so that it can tell this holder's jobs from those of an earlier holder of the number.
// Window thread.
#pragma once

#include <string>

#include "core/UniqueFd.h"

namespace korventa {

class InstanceLock {
public:
    static constexpr unsigned kHighestNumber = 999;

    // Number 0 (no lock held) when the folder cannot be used or every number is taken.
    [[nodiscard]] static InstanceLock acquire(const std::string& folder);

    InstanceLock() = default;

    [[nodiscard]] unsigned number() const { return number_; }
    // Empty when no number is held or the token could not be written.
    [[nodiscard]] const std::string& token() const { return token_; }

private:
    InstanceLock(unsigned number, UniqueFd lock, std::string token)
        : number_(number), lock_(std::move(lock)), token_(std::move(token)) {}

    unsigned number_ = 0;
    UniqueFd lock_;
    std::string token_;
};

}  // namespace korventa
