#include "platform/regtool/ToolArguments.h"

#include "platform/regtool/AsciiText.h"

namespace korventa::regtool {
namespace {

const ToolArguments::Option* findOption(WStringView word,
                                        std::initializer_list<ToolArguments::Option> known) {
    if (word.size() < 2 || (word.front() != u'/' && word.front() != u'-')) return nullptr;
    for (const auto& option : known) {
        if (equalsIgnoringCase(word.substr(1), option.name)) return &option;
    }
    return nullptr;
}

}  // namespace

bool ToolArguments::parse(const std::vector<WString>& words,
                          std::initializer_list<Option> known, ToolArguments& out) {
    ToolArguments arguments;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const Option* option = findOption(words[i], known);
        if (option == nullptr) {
            arguments.positional_.push_back(words[i]);
            continue;
        }
        WString value;
        if (option->takesValue) {
            if (i + 1 == words.size()) return false;
            value = words[++i];
        }
        if (!arguments.options_.emplace(std::string(option->name), std::move(value)).second) {
            return false;
        }
    }
    out = std::move(arguments);
    return true;
}

bool ToolArguments::has(std::string_view name) const { return options_.find(name) != options_.end(); }

WString ToolArguments::value(std::string_view name) const {
    const auto found = options_.find(name);
    return found == options_.end() ? WString() : found->second;
}

}  // namespace korventa::regtool
