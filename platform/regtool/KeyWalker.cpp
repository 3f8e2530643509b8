#include "platform/regtool/KeyWalker.h"

#include <vector>

namespace korventa::regtool {
namespace {

WString childPath(WStringView parent, WStringView child) {
    return parent.empty() ? WString(child) : WString(parent) + u"\\" + WString(child);
}

}  // namespace

reg::RegStatus KeyWalker::walk(const reg::RegistryHive& hive, WStringView path,
                               const Visit& visit) {
    // An explicit stack: key depth comes from the hive file, not from the program.
    std::vector<WString> pending{WString(path)};
    bool first = true;
    while (!pending.empty()) {
        const WString current = std::move(pending.back());
        pending.pop_back();
        reg::RegistryKey key;
        const reg::RegStatus opened =
            reg::RegistryKey::open(hive, current, reg::KeyAccess::Read, key);
        if (opened == reg::RegStatus::NotFound && !first) continue;
        if (opened != reg::RegStatus::Ok) return opened;
        first = false;
        if (!visit(key)) return reg::RegStatus::Ok;
        std::vector<WString> children;
        const reg::RegStatus listed = key.subKeys(children);
        if (listed != reg::RegStatus::Ok) return listed;
        const WString stored = key.path();
        for (auto child = children.rbegin(); child != children.rend(); ++child) {
            pending.push_back(childPath(stored, *child));
        }
    }
    return reg::RegStatus::Ok;
}

}  // namespace korventa::regtool
