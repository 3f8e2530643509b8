#include "appmode/LocaleCharset.h"

#include <iconv.h>
#include <langinfo.h>

#include <array>
#include <cerrno>
#include <cstddef>
#include <memory>
#include <type_traits>

namespace korventa {
namespace {

using ConverterObject = std::remove_pointer_t<iconv_t>;

struct ConverterCloser {
    void operator()(ConverterObject* converter) const { iconv_close(converter); }
};
using Converter = std::unique_ptr<ConverterObject, ConverterCloser>;

constexpr std::size_t kFailed = static_cast<std::size_t>(-1);

Converter openConverter() {
    const iconv_t converter = iconv_open("UTF-16LE", nl_langinfo(CODESET));
    if (converter == reinterpret_cast<iconv_t>(-1)) return nullptr;
    return Converter(converter);
}

void appendUtf16Le(WString& text, const char* bytes, std::size_t size) {
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        const auto low = static_cast<unsigned char>(bytes[i]);
        const auto high = static_cast<unsigned char>(bytes[i + 1]);
        text.push_back(static_cast<char16_t>(low | (high << 8)));
    }
}

// One call into the converter with a fresh output block; 0, or the errno of a failed call.
// Null input asks a stateful charset for what it still holds.
int convertInto(iconv_t converter, char** input, std::size_t* inputLeft, WString& text) {
    std::array<char, 4096> output{};
    char* out = output.data();
    std::size_t outLeft = output.size();
    const std::size_t status = iconv(converter, input, inputLeft, &out, &outLeft);
    const int error = status == kFailed ? errno : 0;
    appendUtf16Le(text, output.data(), output.size() - outLeft);
    return error;
}

}  // namespace

WString decodeLocaleCharset(std::string_view bytes) {
    const Converter converter = openConverter();
    if (!converter) return {};
    WString text;
    text.reserve(bytes.size());
    // iconv's input parameter is not const-qualified, but the input is only read.
    char* input = const_cast<char*>(bytes.data());
    std::size_t inputLeft = bytes.size();
    while (inputLeft > 0) {
        const int error = convertInto(converter.get(), &input, &inputLeft, text);
        if (error == 0 || error == E2BIG) continue;
        // EILSEQ, or EINVAL for a character cut off by the end of the input.
        text.push_back(u'\uFFFD');
        ++input;
        --inputLeft;
    }
    (void)convertInto(converter.get(), nullptr, nullptr, text);
    return text;
}

}  // namespace korventa
