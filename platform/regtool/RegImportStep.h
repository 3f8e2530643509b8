// One change read from a .reg file, in file order. The parser produces the whole list before
// anything is applied, so a bad line leaves every hive as it was.
#pragma once

#include <cstdint>
#include <string>

#include "core/Text.h"
#include "platform/registry/RegValue.h"
#include "platform/registry/RegistryHive.h"

namespace korventa::regtool {

struct RegImportStep {
    enum class Action { CreateKey, DeleteKey, SetValue, DeleteValue };

    Action action = Action::CreateKey;
    reg::RootKey root = reg::RootKey::CurrentUser;
    WString path;  // below the root
    WString name;  // values only; empty for the default value
    std::uint32_t type = reg::REG_NONE;
    std::string data;
};

struct RegParseError {
    std::size_t line = 0;  // 1-based; the line where the bad entry starts
    std::string message;
};

}  // namespace korventa::regtool
