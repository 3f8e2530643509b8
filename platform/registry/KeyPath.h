// A key path split into its names and checked once, so the store sees only well-formed names.
// Backslash-separated below the hive root; one trailing backslash allowed; empty = the root.
// A plain value; any thread.
#pragma once

#include <string>
#include <vector>

#include "core/Text.h"
#include "platform/registry/RegStatus.h"

namespace korventa::reg {

class KeyPath {
public:
    // InvalidArgument for a leading backslash, an empty name inside the path or a name that
    // cannot be stored (see storedName).
    [[nodiscard]] static RegStatus parse(WStringView text, KeyPath& out);

    // The names from the root down, as stored (UTF-8).
    [[nodiscard]] const std::vector<std::string>& names() const { return names_; }

private:
    std::vector<std::string> names_;
};

}  // namespace korventa::reg
