// Turns the bytes of a .reg file into text: UTF-16LE after its byte order mark, UTF-8 with or
// without one. Bytes that are not UTF-8 are read as Windows-1252, the code page older files
// from the platform were written in. Pure functions, any thread.
#pragma once

#include <string_view>

#include "core/Text.h"

namespace korventa::regtool {

class RegFileDecoder {
public:
    // False only for UTF-16 cut in the middle of a code unit (a truncated file).
    [[nodiscard]] static bool decode(std::string_view bytes, WString& text);
    // Eight-bit text without a byte order mark: UTF-8 when it is valid, else Windows-1252.
    [[nodiscard]] static WString decodeEightBit(std::string_view bytes);
};

}  // namespace korventa::regtool
