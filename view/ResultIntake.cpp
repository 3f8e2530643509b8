#include "view/ResultIntake.h"

#include <nlohmann/json.hpp>
#include <optional>
#include <vector>

#include "core/PdfStrings.h"

namespace korventa {
namespace {

using Json = nlohmann::json;

// Any library failure counts as a refused message: besides parse errors the parser throws
// out_of_range for a number beyond a double's range (1e400), which the page controls.
std::optional<Json> parseStrictly(std::string_view message) {
    try {
        return Json::parse(message);
    } catch (const Json::exception&) {
        return std::nullopt;
    }
}

std::optional<WString> commandValue(const Json& value) {
    if (value.is_string()) return fromUtf8(value.get_ref<const std::string&>());
    if (!value.is_array()) return std::nullopt;
    std::vector<WString> items;
    items.reserve(value.size());
    for (const Json& item : value) {
        if (!item.is_string()) return std::nullopt;
        items.push_back(fromUtf8(item.get_ref<const std::string&>()));
    }
    return JoinAsPdfStrings(items);
}

// The parsed object's members iterate in byte order of their UTF-8 names.
std::optional<JobCommandMap> commandsOf(const Json& message) {
    JobCommandMap commands;
    const auto cmds = message.find("cmds");
    if (cmds == message.end()) return commands;
    if (!cmds->is_object()) return std::nullopt;
    for (const auto& [name, value] : cmds->items()) {
        auto text = commandValue(value);
        if (!text) return std::nullopt;
        commands.insert_or_assign(fromUtf8(name), std::move(*text));
    }
    return commands;
}

}  // namespace

IntakeStatus takeConversionResult(std::string_view message, JobCommandMap& commandMap,
                                  std::string& facturXml) {
    const std::optional<Json> parsed = parseStrictly(message);
    if (!parsed) return IntakeStatus::Invalid;
    if (!parsed->is_object()) return IntakeStatus::Accepted;

    const auto facx = parsed->find("facx");
    if (facx != parsed->end() && !facx->is_string()) return IntakeStatus::Invalid;
    std::optional<JobCommandMap> commands = commandsOf(*parsed);
    if (!commands) return IntakeStatus::Invalid;

    for (auto& [name, value] : *commands) commandMap.insert_or_assign(name, std::move(value));
    if (facx != parsed->end()) facturXml = facx->get_ref<const std::string&>();
    return IntakeStatus::Accepted;
}

}  // namespace korventa
