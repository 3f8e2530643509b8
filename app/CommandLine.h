// The command line: "--help" and "--version" as the whole first argument print their text
// and end the program; otherwise the one option "--zug" as the whole first argument,
// optionally followed by an application name. Everything else on the line is ignored without
// a message. Pure functions; any thread.
#pragma once

#include <string_view>
#include <vector>

#include "core/Text.h"

namespace korventa {

enum class StartAction { Window, Usage, Version };

struct AppModeRequest {
    StartAction action = StartAction::Window;
    bool requested = false;
    WString name;  // "simple" when the option has no name after it; may be empty
};

// `arguments` as the process received them, argument 0 being the program.
[[nodiscard]] AppModeRequest parseCommandLine(const std::vector<WString>& arguments);
// The text "--help" prints, ending with a line feed.
[[nodiscard]] std::string_view usageText();

}  // namespace korventa
