#include "appmode/TextFile.h"

#include <array>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "appmode/LocaleCharset.h"

namespace korventa {
namespace {

enum class Encoding { Utf8, Utf16Le, Utf16Be, LocaleCharset };

struct ByteOrderMark {
    Encoding encoding;
    std::size_t length;
};

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

std::optional<Encoding> encodingNamed(WStringView name) {
    if (name == u"UTF-8") return Encoding::Utf8;
    if (name == u"UTF-16") return Encoding::Utf16Le;
    if (name == u"UTF-16BE") return Encoding::Utf16Be;
    if (name == u"ACP" || name.empty()) return Encoding::LocaleCharset;
    return std::nullopt;
}

std::optional<ByteOrderMark> byteOrderMark(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF")) return ByteOrderMark{Encoding::Utf8, 3};
    if (bytes.starts_with("\xFE\xFF")) return ByteOrderMark{Encoding::Utf16Be, 2};
    if (bytes.starts_with("\xFF\xFE")) return ByteOrderMark{Encoding::Utf16Le, 2};
    return std::nullopt;
}

WString decodeUtf16(std::string_view bytes, bool bigEndian) {
    WString text(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto first = static_cast<unsigned char>(bytes[2 * i]);
        const auto second = static_cast<unsigned char>(bytes[2 * i + 1]);
        text[i] = static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
    }
    return text;
}

WString decodeAs(Encoding encoding, std::string_view bytes) {
    switch (encoding) {
        case Encoding::Utf8:
            return fromUtf8(bytes);
        case Encoding::Utf16Le:
            return decodeUtf16(bytes, false);
        case Encoding::Utf16Be:
            return decodeUtf16(bytes, true);
        case Encoding::LocaleCharset:
            return decodeLocaleCharset(bytes);
    }
    return {};
}

// A read error part way gives no bytes at all rather than a silently shortened text.
std::string readWholeFile(const std::string& path) {
    const File file(std::fopen(path.c_str(), "rb"));
    if (!file) return {};
    std::string bytes;
    std::array<char, 65536> chunk{};
    std::size_t count = 0;
    while ((count = std::fread(chunk.data(), 1, chunk.size(), file.get())) > 0)
        bytes.append(chunk.data(), count);
    if (std::ferror(file.get())) return {};
    return bytes;
}

}  // namespace

WString decodeText(std::string_view bytes, WStringView hint) {
    if (const auto mark = byteOrderMark(bytes)) {
        return decodeAs(mark->encoding, bytes.substr(mark->length));
    }
    const auto encoding = encodingNamed(hint);
    return encoding ? decodeAs(*encoding, bytes) : WString();
}

WString ReadTextFile(WStringView path, WStringView hint) {
    // A NUL would cut the file system path short and open some other file.
    if (path.empty() || path.find(u'\0') != WStringView::npos) return {};
    return decodeText(readWholeFile(toUtf8(path)), hint);
}

}  // namespace korventa
