#include "support/CommandScript.h"

#include <charconv>

namespace korventa {
namespace {

std::string_view nextWord(std::string_view& rest) {
    const auto start = rest.find_first_not_of(' ');
    if (start == std::string_view::npos) {
        rest = {};
        return {};
    }
    rest.remove_prefix(start);
    const auto end = rest.find(' ');
    const std::string_view word = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
    return word;
}

bool readNumber(std::string_view word, int& out) {
    const char* end = word.data() + word.size();
    const auto [last, error] = std::from_chars(word.data(), end, out);
    return !word.empty() && error == std::errc() && last == end;
}

bool parseLine(std::string_view line, ScriptStep& step) {
    std::string_view rest = line;
    const std::string_view verb = nextWord(rest);
    if (verb == "close" || verb == "wait") {
        step = {verb == "close" ? ScriptStep::Kind::Close : ScriptStep::Kind::Wait, 0, 0, {}};
        return nextWord(rest).empty();
    }
    if (verb == "command") {
        step = {ScriptStep::Kind::Command, 0, 0, {}};
        if (!readNumber(nextWord(rest), step.id))
            return false;
        const std::string_view code = nextWord(rest);
        if (!code.empty() && !readNumber(code, step.code))
            return false;
        return nextWord(rest).empty();
    }
    if (verb == "page") {
        step = {ScriptStep::Kind::Page, 0, 0, fromUtf8(rest)};
        return !rest.empty();
    }
    if (verb == "set") {
        step = {ScriptStep::Kind::Set, 0, 0, {}};
        if (!readNumber(nextWord(rest), step.id))
            return false;
        step.text = fromUtf8(rest);
        return true;
    }
    return false;
}

}  // namespace

bool parseCommandScript(std::string_view script, std::vector<ScriptStep>& steps,
                        std::string& error) {
    steps.clear();
    std::size_t number = 0;
    while (!script.empty()) {
        const auto end = script.find('\n');
        std::string_view line = script.substr(0, end);
        script = end == std::string_view::npos ? std::string_view{} : script.substr(end + 1);
        ++number;
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        if (line.find_first_not_of(' ') == std::string_view::npos || line.starts_with('#')) {
            continue;
        }
        ScriptStep step;
        if (!parseLine(line, step)) {
            steps.clear();
            error = "line " + std::to_string(number) + " is not a step: " + std::string(line);
            return false;
        }
        steps.push_back(std::move(step));
    }
    return true;
}

}  // namespace korventa
