#include "driver/LayeredSettings.h"

#include <optional>

#include "driver/DriverNames.h"
#include "driver/KeyValues.h"
#include "platform/registry/RegistryHive.h"

namespace korventa {
namespace {

constexpr const char16_t* kProhibitUser = u"FlagProhibitHKCU";

struct FormLayout {
    WStringView root;
    WStringView settingsName;
    bool driverPaths;

    [[nodiscard]] WString keyPath(WStringView subkey) const {
        return driverPaths ? driverKeyPath(subkey) : plainKeyPath(root, subkey);
    }
    [[nodiscard]] WString settingsKey() const { return keyPath(settingsName); }
    [[nodiscard]] WString mandatoryKey() const {
        WString subkey(u"MUST");
        if (!settingsName.empty()) {
            subkey += u'\\';
            subkey += settingsName;
        }
        return keyPath(subkey);
    }
};

FormLayout layoutOf(SettingsForm form) {
    return form == SettingsForm::Converter
               ? FormLayout{ConverterRegistryRoot, ConverterSettingsName, false}
               : FormLayout{DriverRegistryRoot, u"", true};
}

reg::RegistryHive machineHive() { return reg::RegistryHive::local(reg::RootKey::LocalMachine); }

std::optional<reg::RegistryHive> connectRemote(WStringView server) {
    auto hive = reg::RegistryHive::atPath({});  // replaced when the connection succeeds
    if (reg::RegistryHive::connectRemote(server, hive) != reg::RegStatus::Ok) return std::nullopt;
    return hive;
}

// A layer whose key is missing or unreadable contributes nothing; nobody is told.
void readLayer(const WString& keyPath, SettingsMap& map, const reg::RegistryHive& hive) {
    static_cast<void>(ReadKeyValues(keyPath, map, hive));
}

bool isServerName(WStringView trimmed) {
    return !trimmed.empty() && trimmed != u"False" && trimmed != u"false";
}

}  // namespace

bool LayeredSettings::FindRemoteRegistryServer(WStringView root, WString& server) {
    server.clear();
    SettingsMap rootValues;
    readLayer(plainKeyPath(root, u""), rootValues, machineHive());
    const auto configured = rootValues.find(u"RemoteRegServer");
    if (configured == rootValues.end()) return false;
    server = WString(trimBlanks(configured->second));
    if (!isServerName(server)) return false;
    if (const auto failed = failedRemoteServers_.find(server);
        failed != failedRemoteServers_.end()) {
        return isTrueText(failed->second);
    }
    if (connectRemote(server)) return true;
    failedRemoteServers_[server] = boolText(false);
    return false;
}

void LayeredSettings::LoadLayeredSettings(SettingsForm form, SettingsMap& map) {
    const FormLayout layout = layoutOf(form);
    if (const auto flag = map.find(kProhibitUser); flag != map.end()) {
        flag->second = boolText(false);
    }
    const WString settingsKey = layout.settingsKey();
    const WString mandatoryKey = layout.mandatoryKey();
    readLayer(settingsKey, map, machineHive());

    // The remote hive stays connected from its settings read to its mandatory read; a failure
    // of this second connection is not recorded, as the trial just succeeded.
    std::optional<reg::RegistryHive> remote;
    if (WString server; FindRemoteRegistryServer(layout.root, server)) {
        remote = connectRemote(server);
        if (remote) readLayer(settingsKey, map, *remote);
    }

    const auto flag = map.find(kProhibitUser);
    if (flag == map.end() || !isTrueText(flag->second)) {
        readLayer(settingsKey, map, reg::RegistryHive::local(reg::RootKey::CurrentUser));
    }
    readLayer(mandatoryKey, map, machineHive());
    if (remote) readLayer(mandatoryKey, map, *remote);
}

WString LayeredSettings::GetDriverInstallPath() {
    constexpr const char16_t* kInstallPath = u"InstallPath";
    SettingsMap map;
    readLayer(driverKeyPath(u""), map, machineHive());
    if (map.find(kInstallPath) == map.end()) LoadLayeredSettings(SettingsForm::Driver, map);
    const auto found = map.find(kInstallPath);
    return found == map.end() ? WString() : found->second;
}

}  // namespace korventa
