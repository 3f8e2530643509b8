#include "platform/regtool/AsciiText.h"

namespace korventa::regtool {
namespace {

char16_t foldCase(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; }

bool isSpace(char16_t c) { return c == u' ' || c == u'\t'; }

}  // namespace

bool equalsIgnoringCase(WStringView text, std::string_view ascii) {
    return text.size() == ascii.size() && startsWithIgnoringCase(text, ascii);
}

bool startsWithIgnoringCase(WStringView text, std::string_view ascii) {
    if (text.size() < ascii.size()) return false;
    for (std::size_t i = 0; i < ascii.size(); ++i) {
        if (foldCase(text[i]) != foldCase(static_cast<char16_t>(ascii[i]))) return false;
    }
    return true;
}

int hexDigitValue(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
}

bool parseHexNumber(WStringView text, std::size_t maxDigits, std::uint64_t& out) {
    if (text.empty() || text.size() > maxDigits) return false;
    std::uint64_t number = 0;
    for (const char16_t c : text) {
        const int digit = hexDigitValue(c);
        if (digit < 0) return false;
        number = (number << 4) | static_cast<std::uint64_t>(digit);
    }
    out = number;
    return true;
}

void appendHexByte(WString& text, unsigned char byte, bool upperCase) {
    const char16_t* digits = upperCase ? u"0123456789ABCDEF" : u"0123456789abcdef";
    text.push_back(digits[byte >> 4]);
    text.push_back(digits[byte & 0xF]);
}

WString hexText(std::uint64_t number) {
    WString digits;
    do {
        digits.insert(digits.begin(), u"0123456789abcdef"[number & 0xF]);
        number >>= 4;
    } while (number != 0);
    return digits;
}

WStringView trimSpaces(WStringView text) {
    while (!text.empty() && isSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back())) text.remove_suffix(1);
    return text;
}

}  // namespace korventa::regtool
