// The key a verb works on: its parsed name and the hive it lives in. Resolving reports its
// own failures (bad name, remote machine out of reach) on the console, so a verb only returns
// the failure code. A plain value.
#pragma once

#include <optional>

#include "platform/regtool/KeyName.h"
#include "platform/regtool/ToolConsole.h"

namespace korventa::regtool {

class VerbTarget {
public:
    enum class Reach { LocalOnly, LocalOrRemote };

    [[nodiscard]] static std::optional<VerbTarget> resolve(WStringView text, Reach reach,
                                                           ToolConsole& console);

    [[nodiscard]] const KeyName& name() const { return name_; }
    [[nodiscard]] const reg::RegistryHive& hive() const { return hive_; }

private:
    VerbTarget(KeyName name, reg::RegistryHive hive)
        : name_(std::move(name)), hive_(std::move(hive)) {}

    KeyName name_;
    reg::RegistryHive hive_;
};

}  // namespace korventa::regtool
