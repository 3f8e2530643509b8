// The admin tool's entry: picks the verb (query, add, delete, import, export, in any case)
// from the first word and runs it on the rest. Returns the exit code: 0 on success, 1 on any
// failure, each failure reported as one "ERROR: ..." line. One thread.
#pragma once

#include <string>
#include <vector>

#include "platform/regtool/ToolConsole.h"

namespace korventa::regtool {

class RegTool {
public:
    // The words after the program name, as the system passes them (UTF-8).
    [[nodiscard]] static int run(const std::vector<std::string>& arguments, ToolConsole& console);
};

}  // namespace korventa::regtool
