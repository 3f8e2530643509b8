// The debugger-output line for one console message of the page: "console.log Event: "
// followed by a JSON object with level, message, line and source. Qt-free, any thread.
#pragma once

#include <string>
#include <string_view>

namespace korventa {

// Texts are UTF-8; ill-formed sequences become U+FFFD rather than failing the line.
[[nodiscard]] std::string consoleEventText(std::string_view level, std::string_view message,
                                           int line, std::string_view source);

}  // namespace korventa
