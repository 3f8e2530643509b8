// The command line's one option: "--zug" as the whole first argument, optionally followed by
// an application name. Everything else on the line is ignored without a message. Pure
// function; any thread.
#pragma once

#include <vector>

#include "core/Text.h"

namespace korventa {

struct AppModeRequest {
    bool requested = false;
    WString name;  // "simple" when the option has no name after it; may be empty
};

// `arguments` as the process received them, argument 0 being the program.
[[nodiscard]] AppModeRequest parseCommandLine(const std::vector<WString>& arguments);

}  // namespace korventa
