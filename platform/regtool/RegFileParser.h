// Reads a whole .reg file ("Windows Registry Editor Version 5.00" or "REGEDIT4") into import
// steps: [KEY] and [-KEY] sections, "name"=data and @=data lines, "name"=- deletions, ;
// comments and hex data continued with a backslash. Any bytes are safe input: the first bad
// line ends the parse with its line number. One object per parse, any thread.
#pragma once

#include <string_view>
#include <vector>

#include "platform/regtool/RegImportStep.h"

namespace korventa::regtool {

class RegFileParser {
public:
    [[nodiscard]] static bool parse(std::string_view bytes, std::vector<RegImportStep>& steps,
                                    RegParseError& error);

private:
    explicit RegFileParser(WStringView text) : rest_(text) {}

    bool run();
    bool parseHeader();
    bool parseStatement(WStringView line);
    bool parseSection(WStringView line);
    bool parseValue(WStringView line);
    bool parseData(WStringView text, RegImportStep& step);
    bool parseHexData(WStringView text, RegImportStep& step);
    bool joinContinuation(WStringView first, WString& joined);
    bool parseQuoted(WStringView& text, WString& out);
    bool nextLine(WStringView& line);
    bool fail(std::string message);

    WStringView rest_;
    std::size_t lineNumber_ = 0;
    std::size_t statementLine_ = 0;
    bool eightBitFile_ = false;
    bool inSection_ = false;
    RegImportStep section_;
    std::vector<RegImportStep> steps_;
    RegParseError error_;
};

}  // namespace korventa::regtool
