// The words after a verb, split into positional words and options. An option is "/" or "-"
// and a name the verb knows, in any case; a valued option takes the next word whole, so data
// may start with "-". Other words, absolute paths included, stay positional. A plain value.
#pragma once

#include <initializer_list>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "core/Text.h"

namespace korventa::regtool {

class ToolArguments {
public:
    struct Option {
        std::string_view name;  // lowercase
        bool takesValue = false;
    };

    // False for a repeated option or a valued option without its value.
    [[nodiscard]] static bool parse(const std::vector<WString>& words,
                                    std::initializer_list<Option> known, ToolArguments& out);

    [[nodiscard]] const std::vector<WString>& positional() const { return positional_; }
    [[nodiscard]] bool has(std::string_view name) const;
    // Empty when the option was not given.
    [[nodiscard]] WString value(std::string_view name) const;

private:
    std::vector<WString> positional_;
    std::map<std::string, WString, std::less<>> options_;
};

}  // namespace korventa::regtool
