// Byte builders shared by the .reg tests: file bytes in each encoding the import reads, and
// the stored forms of values.
#pragma once

#include <string>
#include <string_view>

#include "core/Text.h"
#include "platform/regtool/LittleEndian.h"

namespace korventa::regtool::test {

inline std::string utf16LeFile(WStringView text) {
    std::string bytes = "\xFF\xFE";
    appendUtf16Le(bytes, text);
    return bytes;
}

inline std::string utf16Data(WStringView text) {
    std::string bytes;
    appendUtf16Le(bytes, text);
    return bytes;
}

inline std::string version5(std::string_view body) {
    return "Windows Registry Editor Version 5.00\r\n\r\n" + std::string(body);
}

}  // namespace korventa::regtool::test
