// Visits a key and every key below it, depth-first, parents before children and children in
// the order the store lists them. Each key is opened for reading on its own, so a subkey
// deleted meanwhile by someone else is skipped rather than failing the walk. One thread.
#pragma once

#include <functional>

#include "platform/registry/RegistryKey.h"

namespace korventa::regtool {

class KeyWalker {
public:
    // Return false to stop the walk early; walk() then returns Ok.
    using Visit = std::function<bool(const reg::RegistryKey& key)>;

    [[nodiscard]] static reg::RegStatus walk(const reg::RegistryHive& hive, WStringView path,
                                             const Visit& visit);
};

}  // namespace korventa::regtool
