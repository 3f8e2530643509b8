// The scripted test build's way into the running window: a script of ribbon steps named by
// the environment variable KORVENTA_TEST_SCRIPT, read once at start. One step a line:
// "set ID TEXT" puts TEXT into the element (edit text, or the printer box item to select),
// "command ID [CODE]" dispatches the command, "wait" holds the next step until the page has
// loaded and no conversion or print is under way, "page TEXT" runs TEXT as JavaScript in the
// displayed page, "close" closes the main window; blank lines and
// lines starting with "#" are skipped. UTF-8. Pure parsing; any thread.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/Text.h"

namespace korventa {

struct ScriptStep {
    enum class Kind { Set, Command, Wait, Page, Close };
    Kind kind = Kind::Close;
    int id = 0;
    int code = 0;
    WString text;
};

// False, with `error` naming the line, for the first line that is not a step; `steps` then
// holds nothing, so a broken script runs no step at all.
[[nodiscard]] bool parseCommandScript(std::string_view script, std::vector<ScriptStep>& steps,
                                      std::string& error);

}  // namespace korventa
