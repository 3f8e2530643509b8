// Which hive file a key lives in: the user hive, the machine hive, or a remote machine's
// hive reached through a path template. A plain value; connections are opened per key.
// Paths: $TALVENIR_USER_HIVE, else $XDG_CONFIG_HOME (default ~/.config)/talvenir/registry.db;
// $TALVENIR_MACHINE_HIVE, else /etc/talvenir/registry.db; remote: $TALVENIR_REMOTE_HIVE, else
// /net/%s/etc/talvenir/registry.db, with %s replaced by the server name.
#pragma once

#include <string>

#include "core/Text.h"
#include "platform/registry/RegStatus.h"

namespace korventa::reg {

enum class RootKey { LocalMachine, CurrentUser };

class RegistryHive {
public:
    [[nodiscard]] static RegistryHive local(RootKey root);
    // The RegConnectRegistry counterpart: Ok when the server's machine hive file opens
    // read-only as a hive. Server names that could leave the template's folder are refused.
    [[nodiscard]] static RegStatus connectRemote(WStringView server, RegistryHive& out);
    // A hive at an explicit file (tests, the admin tool's remote paths).
    [[nodiscard]] static RegistryHive atPath(std::string path);

    [[nodiscard]] const std::string& path() const { return path_; }
    // Readers see a damaged hive as an empty one; this tells the two apart, for a message
    // that names the damage. True when the file exists and is no usable hive.
    [[nodiscard]] bool isDamaged() const;

private:
    explicit RegistryHive(std::string path) : path_(std::move(path)) {}
    std::string path_;
};

}  // namespace korventa::reg
