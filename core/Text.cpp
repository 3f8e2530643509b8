#include "core/Text.h"

#include <cstdint>

namespace korventa {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

void appendUtf16(WString& out, char32_t cp) {
    if (cp < 0x10000) {
        out.push_back(static_cast<char16_t>(cp));
        return;
    }
    cp -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
}

void appendUtf8(std::string& out, char32_t cp) {
    auto put = [&out](char32_t v) { out.push_back(static_cast<char>(static_cast<unsigned char>(v))); };
    if (cp < 0x80) {
        put(cp);
    } else if (cp < 0x800) {
        put(0xC0 | (cp >> 6));
        put(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        put(0xE0 | (cp >> 12));
        put(0x80 | ((cp >> 6) & 0x3F));
        put(0x80 | (cp & 0x3F));
    } else {
        put(0xF0 | (cp >> 18));
        put(0x80 | ((cp >> 12) & 0x3F));
        put(0x80 | ((cp >> 6) & 0x3F));
        put(0x80 | (cp & 0x3F));
    }
}

// Allowed range of the second byte for a lead byte (Unicode table 3-7); the rest are 80..BF.
bool secondByteFits(unsigned char lead, unsigned char b) {
    if (lead == 0xE0) return b >= 0xA0 && b <= 0xBF;
    if (lead == 0xED) return b >= 0x80 && b <= 0x9F;
    if (lead == 0xF0) return b >= 0x90 && b <= 0xBF;
    if (lead == 0xF4) return b >= 0x80 && b <= 0x8F;
    return b >= 0x80 && b <= 0xBF;
}

int sequenceLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    return 0;
}

bool isBlank(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\f' || c == u'\u00A0';
}

}  // namespace

WString fromUtf8(std::string_view bytes) {
    WString out;
    out.reserve(bytes.size());
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        const int length = sequenceLength(lead);
        if (length == 1) {
            out.push_back(lead);
            ++i;
            continue;
        }
        if (length == 0) {
            appendUtf16(out, kReplacement);
            ++i;
            continue;
        }
        char32_t cp = lead & (0xFF >> (length + 1));
        int taken = 1;
        for (; taken < length && i + taken < bytes.size(); ++taken) {
            const auto b = static_cast<unsigned char>(bytes[i + taken]);
            const bool fits = taken == 1 ? secondByteFits(lead, b) : (b & 0xC0) == 0x80;
            if (!fits) break;
            cp = (cp << 6) | (b & 0x3F);
        }
        appendUtf16(out, taken == length ? cp : kReplacement);
        i += static_cast<std::size_t>(taken);
    }
    return out;
}

std::string toUtf8(WStringView text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            appendUtf8(out, 0x10000 + ((char32_t(unit) - 0xD800) << 10) + (text[i + 1] - 0xDC00));
            ++i;
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            appendUtf8(out, kReplacement);
        } else {
            appendUtf8(out, unit);
        }
    }
    return out;
}

WStringView trimBlanks(WStringView text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

bool isTrueText(WStringView text) { return text == u"True" || text == u"true"; }

const char16_t* boolText(bool on) { return on ? u"True" : u"False"; }

WString decimalText(unsigned long long number) {
    WString digits;
    do {
        digits.insert(digits.begin(), static_cast<char16_t>(u'0' + number % 10));
        number /= 10;
    } while (number != 0);
    return digits;
}

}  // namespace korventa
