// Settings merged from four places: the local machine, a remote machine named in the local
// machine's root key, the current user and the mandatory "MUST" key (local, then remote).
// The program creates one object and passes it by reference: it remembers, for the life of
// the process, every remote server whose trial connection failed, so a dead server costs one
// attempt only. One thread per object (the window thread in the program); no lock.
#pragma once

#include "core/SettingsMap.h"
#include "core/Text.h"

namespace korventa {

// Converter: ConverterRegistryRoot, settings name "KORVENTA", keys in plain form.
// Driver: DriverRegistryRoot, the empty settings name, keys in driver form.
enum class SettingsForm { Converter, Driver };

class LayeredSettings {
public:
    // True when the root key on the local machine names a server ("RemoteRegServer" trimmed,
    // not empty, "False" or "false") that has not failed a trial connection here; `server`
    // receives the trimmed name whenever the value exists.
    [[nodiscard]] bool FindRemoteRegistryServer(WStringView root, WString& server);
    // Each layer overwrites what the earlier ones put into `map`; what no layer holds keeps
    // its text, so callers put their defaults in first.
    void LoadLayeredSettings(SettingsForm form, SettingsMap& map);
    // The driver's "InstallPath", or empty when nothing is configured.
    [[nodiscard]] WString GetDriverInstallPath();

private:
    SettingsMap failedRemoteServers_;
};

}  // namespace korventa
