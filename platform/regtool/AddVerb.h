// "add KEY [/v NAME | /ve] [/t TYPE] [/d DATA] [/f]": creates the key (and missing parents)
// and sets one value. Data is checked before anything is written; an existing value is only
// overwritten after a Yes, asked before the key is opened for writing so no write lock is held
// while a person thinks.
#pragma once

#include <vector>

#include "platform/regtool/ToolConsole.h"

namespace korventa::regtool {

class AddVerb {
public:
    [[nodiscard]] static int run(const std::vector<WString>& words, ToolConsole& console);
};

}  // namespace korventa::regtool
