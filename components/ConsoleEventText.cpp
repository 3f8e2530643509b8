#include "components/ConsoleEventText.h"

#include <nlohmann/json.hpp>

namespace korventa {

std::string consoleEventText(std::string_view level, std::string_view message, int line,
                             std::string_view source) {
    nlohmann::ordered_json event;
    event["level"] = level;
    event["message"] = message;
    event["line"] = line;
    event["source"] = source;
    return "console.log Event: " +
           event.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

}  // namespace korventa
