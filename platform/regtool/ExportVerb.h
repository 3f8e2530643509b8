// "export KEY FILE [/y]": writes the key and everything below it as a version 5 .reg file.
// The whole file is built in memory first; an existing file is replaced only after a Yes
// (or /y) and only once the new content is complete.
#pragma once

#include <vector>

#include "platform/regtool/ToolConsole.h"

namespace korventa::regtool {

class ExportVerb {
public:
    [[nodiscard]] static int run(const std::vector<WString>& words, ToolConsole& console);
};

}  // namespace korventa::regtool
