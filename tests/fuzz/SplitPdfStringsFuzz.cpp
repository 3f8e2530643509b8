// Saved recent lists and page command values come from outside: the splitter must take any
// text, and what it splits must join and split back to the same items.
#include <cstdint>
#include <cstdlib>

#include "core/PdfStrings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    korventa::WString text;
    for (std::size_t i = 0; i + 1 < size; i += 2) text.push_back(char16_t(data[i] | data[i + 1] << 8));
    const auto items = korventa::SplitPdfStrings(text);
    auto withoutCr = items;
    for (auto& item : withoutCr) std::erase(item, u'\r');
    if (korventa::SplitPdfStrings(korventa::JoinAsPdfStrings(items)) != withoutCr) std::abort();
    return 0;
}
