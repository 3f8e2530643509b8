// The changes of one import, gathered per local hive: a hive gets its transaction when a step
// first touches it, and nothing is visible to others before commit(). Whatever is not
// committed rolls back when the object goes. One thread.
#pragma once

#include <array>
#include <optional>

#include "platform/registry/RegistryTransaction.h"
#include "platform/regtool/RegImportStep.h"

namespace korventa::regtool {

class ImportChanges {
public:
    ImportChanges();

    [[nodiscard]] reg::RegStatus apply(const RegImportStep& step);
    // The machine hive first, then the user hive.
    [[nodiscard]] reg::RegStatus commit();

    // The hive of the last failure.
    [[nodiscard]] const reg::RegistryHive& failedHive() const { return hives_[failed_]; }
    // Hives whose changes were committed before a commit failed.
    [[nodiscard]] std::size_t committed() const { return committed_; }

private:
    std::array<reg::RegistryHive, 2> hives_;
    std::array<std::optional<reg::RegistryTransaction>, 2> transactions_;
    std::size_t failed_ = 0;
    std::size_t committed_ = 0;
};

}  // namespace korventa::regtool
