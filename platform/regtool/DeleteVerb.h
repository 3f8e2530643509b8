// "delete KEY [/v NAME | /ve | /va] [/f]": removes a key with everything below it, one value,
// or all values of the key. What is to be deleted must exist; the question comes before any
// write lock is taken. The root of a hive is never deleted.
#pragma once

#include <vector>

#include "platform/regtool/ToolConsole.h"
#include "platform/regtool/VerbTarget.h"

namespace korventa::regtool {

class DeleteVerb {
public:
    [[nodiscard]] static int run(const std::vector<WString>& words, ToolConsole& console);

private:
    DeleteVerb(VerbTarget target, bool force, ToolConsole& console)
        : target_(std::move(target)), force_(force), console_(console) {}

    int deleteKey();
    int deleteValue(WStringView name);
    int deleteAllValues();
    bool confirmed(WStringView question);
    int finish(reg::RegStatus status);

    VerbTarget target_;
    bool force_;
    ToolConsole& console_;
};

}  // namespace korventa::regtool
