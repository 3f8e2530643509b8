// Value data as admins see and type it on the command line: type names, the /d argument of
// add, and the data column of query (texts, "a\0b" lists, 0x numbers, hex bytes).
// Pure functions, any thread.
#pragma once

#include <cstdint>
#include <string>

#include "core/Text.h"
#include "platform/registry/RegValue.h"

namespace korventa::regtool {

class RegDataText {
public:
    // The types add accepts: REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ, REG_DWORD, REG_QWORD,
    // REG_BINARY, REG_NONE, in any case.
    [[nodiscard]] static bool typeFromName(WStringView name, std::uint32_t& type);
    [[nodiscard]] static std::string typeName(std::uint32_t type);

    // The stored bytes for /d text of the given type; false with a reason for text that the
    // type cannot hold (a number too large, odd hex, an empty list item).
    [[nodiscard]] static bool parse(std::uint32_t type, WStringView text, std::string& data,
                                    std::string& error);
    // The data column of query.
    [[nodiscard]] static WString display(const reg::RegValue& value);
};

}  // namespace korventa::regtool
