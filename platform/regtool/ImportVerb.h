// "import FILE": applies a .reg file all or nothing. The whole file is parsed before any hive
// is touched; the changes of each hive then go into one transaction, and the transactions
// are committed only after every change was accepted.
#pragma once

#include <vector>

#include "platform/regtool/ToolConsole.h"

namespace korventa::regtool {

class ImportVerb {
public:
    [[nodiscard]] static int run(const std::vector<WString>& words, ToolConsole& console);
};

}  // namespace korventa::regtool
