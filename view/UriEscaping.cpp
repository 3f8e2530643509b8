#include "view/UriEscaping.h"

namespace korventa {
namespace {

bool isUnreserved(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
           c == u'-' || c == u'.' || c == u'_' || c == u'~';
}

char16_t hexDigit(unsigned value) {
    return static_cast<char16_t>(value < 10 ? u'0' + value : u'A' + (value - 10));
}

}  // namespace

std::optional<WString> escapeUriComponent(WStringView text) {
    WString escaped;
    for (const char16_t c : text) {
        if (c >= 0x80 || isUnreserved(c)) {
            escaped += c;
        } else {
            escaped += u'%';
            escaped += hexDigit(static_cast<unsigned>(c) >> 4);
            escaped += hexDigit(static_cast<unsigned>(c) & 0xFu);
        }
        if (escaped.size() > kEscapedTextLimit)
            return std::nullopt;
    }
    return escaped;
}

WString foldEscapedBlanks(WStringView escaped) {
    static constexpr WStringView kBlank = u"%20";
    WString folded;
    std::size_t at = 0;
    while (at < escaped.size()) {
        if (escaped.substr(at, kBlank.size()) != kBlank) {
            folded += escaped[at++];
            continue;
        }
        folded += u'+';
        while (escaped.substr(at, kBlank.size()) == kBlank) at += kBlank.size();
    }
    return folded;
}

}  // namespace korventa
