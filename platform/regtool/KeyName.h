// A key name as admins write it: HKLM or HKEY_LOCAL_MACHINE, HKCU or HKEY_CURRENT_USER, then
// the path below the root; "\\SERVER\HKLM\..." names another machine's hive. Parsing checks the
// path's form, so the store never sees a malformed path. A plain value, any thread.
#pragma once

#include "core/Text.h"
#include "platform/registry/RegStatus.h"
#include "platform/registry/RegistryHive.h"

namespace korventa::regtool {

class KeyName {
public:
    // False for an unknown root, an empty path element, or a remote user hive.
    [[nodiscard]] static bool parse(WStringView text, KeyName& out);

    [[nodiscard]] reg::RootKey root() const { return root_; }
    [[nodiscard]] bool isRemote() const { return !server_.empty(); }
    // Below the root, without leading or trailing backslash; empty for the root itself.
    [[nodiscard]] const WString& path() const { return path_; }

    // The long form shown by query and written into .reg files, for a key at storedPath
    // (the path in the case the store keeps).
    [[nodiscard]] WString fullName(WStringView storedPath) const;
    [[nodiscard]] WString fullName() const { return fullName(path_); }

    [[nodiscard]] reg::RegistryHive localHive() const { return reg::RegistryHive::local(root_); }
    // The hive the name points at: the local hive of the root, or the server's machine hive
    // once a connection check passed (out is left alone when it fails).
    [[nodiscard]] reg::RegStatus openHive(reg::RegistryHive& out) const;

private:
    reg::RootKey root_ = reg::RootKey::CurrentUser;
    WString server_;
    WString path_;
};

}  // namespace korventa::regtool
