#include "platform/regtool/LittleEndian.h"

namespace korventa::regtool {

void appendUtf16Le(std::string& bytes, WStringView text) {
    bytes.reserve(bytes.size() + text.size() * 2);
    for (const char16_t unit : text) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
}

WString readUtf16Le(std::string_view bytes) {
    WString text;
    text.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto low = static_cast<unsigned char>(bytes[i]);
        const auto high = static_cast<unsigned char>(bytes[i + 1]);
        text.push_back(static_cast<char16_t>(low | (high << 8)));
    }
    return text;
}

std::string littleEndianBytes(std::uint64_t number, std::size_t size) {
    std::string bytes;
    for (std::size_t i = 0; i < size; ++i) {
        bytes.push_back(static_cast<char>((number >> (8 * i)) & 0xFF));
    }
    return bytes;
}

std::uint64_t readLittleEndian(std::string_view bytes) {
    std::uint64_t number = 0;
    for (std::size_t i = bytes.size(); i-- > 0;) {
        number = (number << 8) | static_cast<unsigned char>(bytes[i]);
    }
    return number;
}

}  // namespace korventa::regtool
