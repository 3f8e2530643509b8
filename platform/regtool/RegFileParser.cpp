#include "platform/regtool/RegFileParser.h"

#include "platform/regtool/AsciiText.h"
#include "platform/regtool/KeyName.h"
#include "platform/regtool/RegFileDecoder.h"
#include "platform/regtool/LittleEndian.h"

namespace korventa::regtool {
namespace {

constexpr WStringView kHeader5 = u"Windows Registry Editor Version 5.00";
constexpr WStringView kHeader4 = u"REGEDIT4";

// Texts of older files were stored in the eight-bit code page; the store keeps UTF-16.
std::string widenEightBitData(const std::string& bytes) {
    std::string data;
    appendUtf16Le(data, RegFileDecoder::decodeEightBit(bytes));
    return data;
}

bool parseByteList(WStringView list, std::string& bytes) {
    list = trimSpaces(list);
    while (!list.empty()) {
        const auto end = list.find(u',');
        std::uint64_t byte = 0;
        if (!parseHexNumber(trimSpaces(list.substr(0, end)), 2, byte)) return false;
        bytes.push_back(static_cast<char>(byte));
        if (end == WStringView::npos) break;
        list = trimSpaces(list.substr(end + 1));
    }
    return true;
}

}  // namespace

bool RegFileParser::parse(std::string_view bytes, std::vector<RegImportStep>& steps,
                          RegParseError& error) {
    WString text;
    if (!RegFileDecoder::decode(bytes, text)) {
        error = {1, "the UTF-16 file ends in the middle of a character (a truncated file?)"};
        return false;
    }
    RegFileParser parser(text);
    if (!parser.run()) {
        error = std::move(parser.error_);
        return false;
    }
    steps = std::move(parser.steps_);
    return true;
}

bool RegFileParser::run() {
    if (!parseHeader()) return false;
    WStringView line;
    while (nextLine(line)) {
        statementLine_ = lineNumber_;
        line = trimSpaces(line);
        if (line.empty() || line.front() == u';') continue;
        if (!parseStatement(line)) return false;
    }
    return true;
}

bool RegFileParser::parseHeader() {
    WStringView line;
    statementLine_ = 1;
    if (nextLine(line)) {
        line = trimSpaces(line);
        eightBitFile_ = line == kHeader4;
        if (line == kHeader5 || eightBitFile_) return true;
    }
    return fail("not a registry file: the first line must be \"Windows Registry Editor Version "
                "5.00\" or \"REGEDIT4\"");
}

bool RegFileParser::parseStatement(WStringView line) {
    if (line.front() == u'[') return parseSection(line);
    if (line.front() == u'"' || line.front() == u'@') return parseValue(line);
    return fail("expected a [KEY] section, a \"name\"= or @= value line, or a ; comment");
}

bool RegFileParser::parseSection(WStringView line) {
    if (line.back() != u']' || line.size() < 2) return fail("a [KEY] section must end with ]");
    WStringView inner = line.substr(1, line.size() - 2);
    const bool deleting = !inner.empty() && inner.front() == u'-';
    if (deleting) inner.remove_prefix(1);
    KeyName key;
    if (!KeyName::parse(inner, key) || key.isRemote()) {
        return fail("bad key name \"" + toUtf8(inner) +
                    "\": it must start with HKEY_LOCAL_MACHINE or HKEY_CURRENT_USER and have "
                    "no empty part between backslashes");
    }
    if (deleting && key.path().empty()) return fail("a whole hive cannot be deleted");
    section_ = {};
    section_.action = deleting ? RegImportStep::Action::DeleteKey
                               : RegImportStep::Action::CreateKey;
    section_.root = key.root();
    section_.path = key.path();
    steps_.push_back(section_);
    inSection_ = !deleting;
    return true;
}

bool RegFileParser::parseValue(WStringView line) {
    if (!inSection_) return fail("a value line must follow a [KEY] section that is not deleted");
    RegImportStep step;
    step.root = section_.root;
    step.path = section_.path;
    if (line.front() == u'@') {
        line.remove_prefix(1);
    } else if (!parseQuoted(line, step.name)) {
        return false;
    }
    line = trimSpaces(line);
    if (line.empty() || line.front() != u'=') return fail("expected = after the value name");
    line = trimSpaces(line.substr(1));
    if (line == u"-") {
        step.action = RegImportStep::Action::DeleteValue;
    } else {
        step.action = RegImportStep::Action::SetValue;
        if (!parseData(line, step)) return false;
    }
    steps_.push_back(std::move(step));
    return true;
}

bool RegFileParser::parseData(WStringView text, RegImportStep& step) {
    if (!text.empty() && text.front() == u'"') {
        WString value;
        if (!parseQuoted(text, value)) return false;
        if (!trimSpaces(text).empty()) return fail("unexpected text after the closing quote");
        step.type = reg::REG_SZ;
        step.data = reg::RegValue::stringData(value);
        return true;
    }
    if (startsWithIgnoringCase(text, "dword:")) {
        std::uint64_t number = 0;
        if (!parseHexNumber(text.substr(6), 8, number)) {
            return fail("dword: must be followed by 1 to 8 hex digits");
        }
        step.type = reg::REG_DWORD;
        step.data = littleEndianBytes(number, 4);
        return true;
    }
    if (startsWithIgnoringCase(text, "hex")) return parseHexData(text.substr(3), step);
    return fail("unknown data: expected \"text\", dword:, hex:, hex(N): or -");
}

bool RegFileParser::parseHexData(WStringView text, RegImportStep& step) {
    step.type = reg::REG_BINARY;
    if (!text.empty() && text.front() == u'(') {
        const auto close = text.find(u')');
        std::uint64_t type = 0;
        if (close == WStringView::npos || !parseHexNumber(text.substr(1, close - 1), 8, type)) {
            return fail("hex(N): needs a type number of 1 to 8 hex digits");
        }
        step.type = static_cast<std::uint32_t>(type);
        text.remove_prefix(close + 1);
    }
    if (text.empty() || text.front() != u':') return fail("expected : after hex or hex(N)");
    WString joined;
    if (!joinContinuation(text.substr(1), joined)) return false;
    std::string bytes;
    if (!parseByteList(joined, bytes)) {
        return fail("hex data must be bytes of 1 or 2 hex digits separated by commas");
    }
    const bool text8 = step.type == reg::REG_EXPAND_SZ || step.type == reg::REG_MULTI_SZ;
    step.data = eightBitFile_ && text8 ? widenEightBitData(bytes) : std::move(bytes);
    return true;
}

bool RegFileParser::joinContinuation(WStringView first, WString& joined) {
    joined = WString(trimSpaces(first));
    while (!joined.empty() && joined.back() == u'\\') {
        joined.pop_back();
        WStringView next;
        if (!nextLine(next)) return fail("the file ends inside a value continued with \\");
        joined.append(trimSpaces(next));
    }
    return true;
}

bool RegFileParser::parseQuoted(WStringView& text, WString& out) {
    out.clear();
    for (std::size_t i = 1; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c == u'"') {
            text.remove_prefix(i + 1);
            return true;
        }
        if (c == u'\\') {
            if (i + 1 == text.size() || (text[i + 1] != u'\\' && text[i + 1] != u'"')) {
                return fail("a backslash in quotes must be doubled (\\\\) or escape a quote (\\\")");
            }
            ++i;
        }
        out.push_back(text[i]);
    }
    return fail("a quoted name or text is not closed");
}

bool RegFileParser::nextLine(WStringView& line) {
    if (rest_.empty()) return false;
    const auto end = rest_.find_first_of(u"\r\n");
    line = rest_.substr(0, end);
    ++lineNumber_;
    if (end == WStringView::npos) {
        rest_ = {};
        return true;
    }
    const bool crlf = rest_[end] == u'\r' && end + 1 < rest_.size() && rest_[end + 1] == u'\n';
    rest_.remove_prefix(end + (crlf ? 2 : 1));
    return true;
}

bool RegFileParser::fail(std::string message) {
    error_ = {statementLine_, std::move(message)};
    return false;
}

}  // namespace korventa::regtool
