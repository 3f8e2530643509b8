// Reads base64 back for tests that check what was encoded; characters outside the alphabet
// (line breaks, padding) are skipped. Header-only; any thread.
#pragma once

#include <string>
#include <string_view>

namespace korventa::test {

inline std::string decodeBase64(std::string_view text) {
    constexpr std::string_view alphabet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    unsigned value = 0;
    int bits = 0;
    for (const char c : text) {
        const auto index = alphabet.find(c);
        if (index == std::string_view::npos)
            continue;
        value = (value << 6) | static_cast<unsigned>(index);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            out += static_cast<char>((value >> bits) & 0xFF);
        }
    }
    return out;
}

}  // namespace korventa::test
