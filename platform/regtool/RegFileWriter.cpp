#include "platform/regtool/RegFileWriter.h"

#include "platform/regtool/AsciiText.h"
#include "platform/regtool/LittleEndian.h"

namespace korventa::regtool {
namespace {

constexpr WStringView kLineEnd = u"\r\n";
constexpr std::size_t kMaxColumns = 80;

bool hasLineBreak(WStringView text) { return text.find_first_of(u"\r\n") != WStringView::npos; }

WString quoted(WStringView text) {
    WString out = u"\"";
    for (const char16_t c : text) {
        if (c == u'\\' || c == u'"') out.push_back(u'\\');
        out.push_back(c);
    }
    out.push_back(u'"');
    return out;
}

// REG_SZ data written as "text" reads back byte for byte only when it is whole code units
// ending in exactly one NUL, with no other NUL and no line break; anything else goes as hex(1).
bool isPlainString(const reg::RegValue& value) {
    if (value.type != reg::REG_SZ || value.data.size() < 2 || value.data.size() % 2 != 0) {
        return false;
    }
    const WString units = readUtf16Le(value.data);
    return units.find(u'\0') == units.size() - 1 && !hasLineBreak(units);
}

WString hexPrefix(std::uint32_t type) {
    return type == reg::REG_BINARY ? WString(u"hex:") : u"hex(" + hexText(type) + u"):";
}

}  // namespace

RegFileWriter::RegFileWriter() {
    text_ = u"Windows Registry Editor Version 5.00";
    text_.append(kLineEnd);
}

bool RegFileWriter::addKey(WStringView fullName) {
    if (hasLineBreak(fullName)) return false;
    text_.append(kLineEnd).append(u"[").append(fullName).append(u"]").append(kLineEnd);
    return true;
}

bool RegFileWriter::addValue(const reg::RegValue& value) {
    if (hasLineBreak(value.name)) return false;
    lineStart_ = text_.size();
    text_.append(value.name.empty() ? WString(u"@") : quoted(value.name)).push_back(u'=');
    if (isPlainString(value)) {
        text_.append(quoted(value.text()));
    } else if (value.type == reg::REG_DWORD && value.data.size() == 4) {
        text_.append(u"dword:");
        for (std::size_t i = 4; i-- > 0;) {
            appendHexByte(text_, static_cast<unsigned char>(value.data[i]));
        }
    } else {
        appendHex(value);
    }
    text_.append(kLineEnd);
    return true;
}

// Lines stay within 80 columns with their trailing backslash; continuation lines are indented
// by two spaces.
void RegFileWriter::appendHex(const reg::RegValue& value) {
    text_.append(hexPrefix(value.type));
    for (std::size_t i = 0; i < value.data.size(); ++i) {
        appendHexByte(text_, static_cast<unsigned char>(value.data[i]));
        if (i + 1 == value.data.size()) break;
        text_.push_back(u',');
        if (text_.size() - lineStart_ + 4 > kMaxColumns) {
            text_.append(u"\\").append(kLineEnd).append(u"  ");
            lineStart_ = text_.size() - 2;
        }
    }
}

std::string RegFileWriter::bytes() const {
    std::string out = "\xFF\xFE";
    appendUtf16Le(out, text_);
    appendUtf16Le(out, kLineEnd);  // the blank line that closes the last section
    return out;
}

}  // namespace korventa::regtool
