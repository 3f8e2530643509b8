// The little-endian byte forms of value data and exported files: UTF-16 code units and the
// numbers of dword and qword values. Free functions on plain values, any thread.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/Text.h"

namespace korventa::regtool {

// Appends every code unit of the text, NULs included, without adding a terminator.
void appendUtf16Le(std::string& bytes, WStringView text);
// Reads every code unit, NULs included; an odd last byte is dropped.
[[nodiscard]] WString readUtf16Le(std::string_view bytes);

[[nodiscard]] std::string littleEndianBytes(std::uint64_t number, std::size_t size);
// All bytes, least significant first; meant for 8 bytes at most.
[[nodiscard]] std::uint64_t readLittleEndian(std::string_view bytes);

}  // namespace korventa::regtool
