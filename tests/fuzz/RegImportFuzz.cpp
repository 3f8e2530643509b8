// Feeds arbitrary bytes to the .reg import parser: it must end every input with steps or an
// error, and an error must name a line of the input.
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "platform/regtool/RegFileParser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::vector<korventa::regtool::RegImportStep> steps;
    korventa::regtool::RegParseError error;
    if (!korventa::regtool::RegFileParser::parse(bytes, steps, error)) {
        if (error.line == 0 || error.line > size + 1 || error.message.empty()) std::abort();
    }
    return 0;
}
