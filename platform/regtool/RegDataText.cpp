#include "platform/regtool/RegDataText.h"

#include <array>
#include <limits>
#include <vector>

#include "platform/regtool/AsciiText.h"
#include "platform/regtool/LittleEndian.h"

namespace korventa::regtool {
namespace {

constexpr std::array<const char*, 12> kTypeNames = {
    "REG_NONE",          "REG_SZ",
    "REG_EXPAND_SZ",     "REG_BINARY",
    "REG_DWORD",         "REG_DWORD_BIG_ENDIAN",
    "REG_LINK",          "REG_MULTI_SZ",
    "REG_RESOURCE_LIST", "REG_FULL_RESOURCE_DESCRIPTOR",
    "REG_RESOURCE_REQUIREMENTS_LIST", "REG_QWORD",
};

constexpr std::array<std::uint32_t, 7> kAddTypes = {
    reg::REG_SZ,    reg::REG_EXPAND_SZ, reg::REG_MULTI_SZ, reg::REG_DWORD,
    reg::REG_QWORD, reg::REG_BINARY,    reg::REG_NONE,
};

constexpr WStringView kListSeparator = u"\\0";

bool parseNumber(WStringView text, std::uint64_t limit, std::uint64_t& out) {
    if (text.empty()) {
        out = 0;
        return true;
    }
    if (startsWithIgnoringCase(text, "0x")) {
        return parseHexNumber(text.substr(2), 16, out) && out <= limit;
    }
    std::uint64_t number = 0;
    for (const char16_t c : text) {
        if (c < u'0' || c > u'9') return false;
        const auto digit = static_cast<std::uint64_t>(c - u'0');
        if (number > (limit - digit) / 10) return false;
        number = number * 10 + digit;
    }
    out = number;
    return true;
}

bool parseHexBytes(WStringView text, std::string& data) {
    if (text.size() % 2 != 0) return false;
    std::string bytes;
    for (std::size_t i = 0; i < text.size(); i += 2) {
        const int high = hexDigitValue(text[i]);
        const int low = hexDigitValue(text[i + 1]);
        if (high < 0 || low < 0) return false;
        bytes.push_back(static_cast<char>((high << 4) | low));
    }
    data = std::move(bytes);
    return true;
}

// Items separated by a literal backslash-zero; an empty item would end the list early when
// read back, so it is refused rather than silently cutting the list.
bool parseList(WStringView text, std::string& data) {
    WString units;
    while (!text.empty()) {
        const auto end = text.find(kListSeparator);
        const WStringView item = text.substr(0, end);
        if (item.empty()) return false;
        units.append(item).push_back(u'\0');
        if (end == WStringView::npos) break;
        text.remove_prefix(end + kListSeparator.size());
        if (text.empty()) return false;
    }
    units.push_back(u'\0');
    data.clear();
    appendUtf16Le(data, units);
    return true;
}

WString listDisplay(const std::string& data) {
    const WString units = readUtf16Le(data);
    std::vector<WStringView> items;
    WStringView rest = units;
    while (!rest.empty() && rest.front() != u'\0') {
        const auto end = rest.find(u'\0');
        items.push_back(rest.substr(0, end));
        rest = end == WStringView::npos ? WStringView() : rest.substr(end + 1);
    }
    WString text;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i != 0) text.append(kListSeparator);
        text.append(items[i]);
    }
    return text;
}

WString numberDisplay(const std::string& data) {
    return u"0x" + hexText(readLittleEndian(data));
}

WString hexDisplay(const std::string& data) {
    WString text;
    for (const char byte : data) appendHexByte(text, static_cast<unsigned char>(byte), true);
    return text;
}

}  // namespace

bool RegDataText::typeFromName(WStringView name, std::uint32_t& type) {
    for (const std::uint32_t candidate : kAddTypes) {
        if (equalsIgnoringCase(name, kTypeNames[candidate])) {
            type = candidate;
            return true;
        }
    }
    return false;
}

std::string RegDataText::typeName(std::uint32_t type) {
    if (type < kTypeNames.size()) return kTypeNames[type];
    return "REG_UNKNOWN(" + std::to_string(type) + ")";
}

bool RegDataText::parse(std::uint32_t type, WStringView text, std::string& data,
                        std::string& error) {
    std::uint64_t number = 0;
    switch (type) {
        case reg::REG_SZ:
        case reg::REG_EXPAND_SZ:
            data = reg::RegValue::stringData(text);
            return true;
        case reg::REG_MULTI_SZ:
            if (parseList(text, data)) return true;
            error = "REG_MULTI_SZ data may not hold an empty item between \\0 separators.";
            return false;
        case reg::REG_DWORD:
            if (parseNumber(text, std::numeric_limits<std::uint32_t>::max(), number)) {
                data = littleEndianBytes(number, 4);
                return true;
            }
            error = "REG_DWORD data must be a number from 0 to 4294967295 (decimal or 0x hex).";
            return false;
        case reg::REG_QWORD:
            if (parseNumber(text, std::numeric_limits<std::uint64_t>::max(), number)) {
                data = littleEndianBytes(number, 8);
                return true;
            }
            error = "REG_QWORD data must be a number from 0 to 18446744073709551615 "
                    "(decimal or 0x hex).";
            return false;
        default:
            if (parseHexBytes(text, data)) return true;
            error = typeName(type) + " data must be an even number of hex digits.";
            return false;
    }
}

WString RegDataText::display(const reg::RegValue& value) {
    switch (value.type) {
        case reg::REG_SZ:
        case reg::REG_EXPAND_SZ:
            return value.text();
        case reg::REG_MULTI_SZ:
            return listDisplay(value.data);
        case reg::REG_DWORD:
            if (value.data.size() == 4) return numberDisplay(value.data);
            break;
        case reg::REG_QWORD:
            if (value.data.size() == 8) return numberDisplay(value.data);
            break;
        default:
            break;
    }
    return hexDisplay(value.data);
}

}  // namespace korventa::regtool
