#include "platform/registry/RegValue.h"

namespace korventa::reg {

WString RegValue::text() const {
    WString out;
    for (std::size_t i = 0; i + 1 < data.size(); i += 2) {
        const auto low = static_cast<unsigned char>(data[i]);
        const auto high = static_cast<unsigned char>(data[i + 1]);
        const auto unit = static_cast<char16_t>(low | (high << 8));
        if (unit == 0)
            break;
        out.push_back(unit);
    }
    return out;
}

std::string RegValue::stringData(WStringView text) {
    std::string out;
    out.reserve((text.size() + 1) * 2);
    for (const char16_t unit : text) {
        out.push_back(static_cast<char>(unit & 0xFF));
        out.push_back(static_cast<char>(unit >> 8));
    }
    out.append(2, '\0');
    return out;
}

}  // namespace korventa::reg
