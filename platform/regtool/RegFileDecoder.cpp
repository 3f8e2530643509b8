#include "platform/regtool/RegFileDecoder.h"

#include <array>

#include "platform/regtool/LittleEndian.h"

namespace korventa::regtool {
namespace {

constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// Windows-1252 at 0x80..0x9F; the five unassigned bytes keep their C1 code points.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

WString decodeWindows1252(std::string_view bytes) {
    WString text;
    text.reserve(bytes.size());
    for (const char byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        const bool high = value >= 0x80 && value <= 0x9F;
        text.push_back(high ? kHighControls[value - 0x80] : static_cast<char16_t>(value));
    }
    return text;
}

}  // namespace

bool RegFileDecoder::decode(std::string_view bytes, WString& text) {
    if (bytes.starts_with(kUtf16LeMark)) {
        bytes.remove_prefix(kUtf16LeMark.size());
        text = readUtf16Le(bytes);
        return bytes.size() % 2 == 0;
    }
    text = bytes.starts_with(kUtf8Mark) ? fromUtf8(bytes.substr(kUtf8Mark.size()))
                                        : decodeEightBit(bytes);
    return true;
}

WString RegFileDecoder::decodeEightBit(std::string_view bytes) {
    WString text = fromUtf8(bytes);
    // Valid UTF-8 is exactly the input that survives the way back unchanged.
    if (toUtf8(text) == bytes) return text;
    return decodeWindows1252(bytes);
}

}  // namespace korventa::regtool
