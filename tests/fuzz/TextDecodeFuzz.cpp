// Fuzz target for the text file decoding: the first byte picks the encoding hint (the four
// names, an empty hint and a wrongly cased one), the rest are the file's bytes.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "appmode/TextFile.h"

namespace {

constexpr std::u16string_view kHints[] = {u"UTF-8", u"UTF-16", u"UTF-16BE", u"ACP", u"", u"utf-8"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::u16string_view hint = kHints[data[0] % std::size(kHints)];
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    const korventa::WString text = korventa::decodeText(bytes, hint);
    // None of the decodings gives more code units than there are bytes (the fuzzer runs in
    // the C locale, whose charset is single-byte).
    if (text.size() > bytes.size()) std::abort();
    return 0;
}
