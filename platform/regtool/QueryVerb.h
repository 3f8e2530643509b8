// "query KEY [/v NAME | /ve] [/s]": prints keys and values in the admin tool's layout (a blank
// line, the full key name, one "    Name    TYPE    Data" line per value, a blank line).
// With /s it covers every key below; with /v and /s it lists the keys holding the value.
#pragma once

#include <vector>

#include "platform/registry/RegistryKey.h"
#include "platform/regtool/ToolConsole.h"
#include "platform/regtool/VerbTarget.h"

namespace korventa::regtool {

class QueryVerb {
public:
    [[nodiscard]] static int run(const std::vector<WString>& words, ToolConsole& console);

private:
    QueryVerb(VerbTarget target, ToolConsole& console)
        : target_(std::move(target)), console_(console) {}

    int listKey(bool subtree);
    int findValue(WStringView name, bool subtree);
    void printKey(const reg::RegistryKey& key, const std::vector<reg::RegValue>& values);

    VerbTarget target_;
    ToolConsole& console_;
};

}  // namespace korventa::regtool
