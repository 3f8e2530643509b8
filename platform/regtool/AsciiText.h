// ASCII-only helpers for the words admins type: verbs, options, root and type names, hex.
// Case folding is ASCII only, as the store compares key names. Free functions, any thread.
#pragma once

#include <cstdint>
#include <string_view>

#include "core/Text.h"

namespace korventa::regtool {

[[nodiscard]] bool equalsIgnoringCase(WStringView text, std::string_view ascii);
[[nodiscard]] bool startsWithIgnoringCase(WStringView text, std::string_view ascii);
// The value of one hex digit, or -1.
[[nodiscard]] int hexDigitValue(char16_t c);
// Hex digits only, 1 to maxDigits of them, no prefix.
[[nodiscard]] bool parseHexNumber(WStringView text, std::size_t maxDigits, std::uint64_t& out);
// Two hex digits, lowercase as .reg files write them or uppercase as query shows bytes.
void appendHexByte(WString& text, unsigned char byte, bool upperCase = false);
// Lowercase hex digits without prefix or padding.
[[nodiscard]] WString hexText(std::uint64_t number);
// Spaces and tabs stripped at both ends: the blanks a .reg line or an answer may carry.
[[nodiscard]] WStringView trimSpaces(WStringView text);

}  // namespace korventa::regtool
