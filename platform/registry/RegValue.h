// One registry value as stored: name, platform type number and raw data bytes.
// Strings are stored as UTF-16LE with their terminating NUL, as the platform stores REG_SZ.
#pragma once

#include <cstdint>
#include <string>

#include "core/Text.h"

namespace korventa::reg {

// The platform's type numbers; stored on disk and written into .reg files.
enum RegType : std::uint32_t {
    REG_NONE = 0,
    REG_SZ = 1,
    REG_EXPAND_SZ = 2,
    REG_BINARY = 3,
    REG_DWORD = 4,
    REG_DWORD_BIG_ENDIAN = 5,
    REG_LINK = 6,
    REG_MULTI_SZ = 7,
    REG_RESOURCE_LIST = 8,
    REG_FULL_RESOURCE_DESCRIPTOR = 9,
    REG_RESOURCE_REQUIREMENTS_LIST = 10,
    REG_QWORD = 11,
};

struct RegValue {
    WString name;
    std::uint32_t type = REG_SZ;
    std::string data;  // raw bytes

    // The data read as text whatever the type: UTF-16LE code units up to the first NUL,
    // an odd last byte ignored.
    [[nodiscard]] WString text() const;
    // REG_SZ data for a text: UTF-16LE plus the terminating NUL, (length + 1) * 2 bytes.
    [[nodiscard]] static std::string stringData(WStringView text);
};

}  // namespace korventa::reg
