#include "platform/regtool/VerbTarget.h"

#include <string>

namespace korventa::regtool {

std::optional<VerbTarget> VerbTarget::resolve(WStringView text, Reach reach,
                                              ToolConsole& console) {
    KeyName name;
    if (!KeyName::parse(text, name)) {
        (void)console.fail("Invalid key name \"" + toUtf8(text) +
                           "\". Use HKLM\\PATH, HKCU\\PATH or \\\\SERVER\\HKLM\\PATH.");
        return std::nullopt;
    }
    if (name.isRemote() && reach == Reach::LocalOnly) {
        (void)console.fail("This operation works on the local machine's hives only.");
        return std::nullopt;
    }
    reg::RegistryHive hive = name.localHive();
    const reg::RegStatus status = name.openHive(hive);
    if (status == reg::RegStatus::NotFound) {
        (void)console.fail("The network path was not found: no registry hive of that machine "
                           "is reachable.");
        return std::nullopt;
    }
    if (status != reg::RegStatus::Ok) {
        (void)console.fail(status, hive);
        return std::nullopt;
    }
    return VerbTarget(std::move(name), std::move(hive));
}

}  // namespace korventa::regtool
