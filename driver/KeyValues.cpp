#include "driver/KeyValues.h"

#include <vector>

#include "driver/DriverNames.h"
#include "platform/registry/RegistryKey.h"

namespace korventa {

WString plainKeyPath(WStringView root, WStringView subkey) {
    WString path(root);
    path += subkey;
    return path;
}

WString driverKeyPath(WStringView subkey) {
    WString path(DriverRegistryRoot);
    if (!subkey.empty()) {
        path += subkey;
        path += u'\\';
    }
    return path;
}

reg::RegStatus ReadKeyValues(WStringView keyPath, SettingsMap& map,
                             const reg::RegistryHive& hive) {
    reg::RegistryKey key;
    if (const auto status = reg::RegistryKey::open(hive, keyPath, reg::KeyAccess::Read, key);
        status != reg::RegStatus::Ok) {
        return status;
    }
    std::vector<reg::RegValue> values;
    if (const auto status = key.values(values); status != reg::RegStatus::Ok) return status;
    for (const auto& value : values) map[value.name] = value.text();
    return reg::RegStatus::Ok;
}

reg::RegStatus WriteKeyValues(WStringView subkey, const SettingsMap& map) {
    const WString path = driverKeyPath(subkey);
    reg::RegistryKey key;
    const auto hive = reg::RegistryHive::local(reg::RootKey::CurrentUser);
    if (const auto status = reg::RegistryKey::create(hive, path, key);
        status != reg::RegStatus::Ok) {
        return status;
    }
    reg::RegStatus result = reg::RegStatus::Ok;
    for (const auto& [name, text] : map) {
        const auto status = key.setString(name, text);
        if (result == reg::RegStatus::Ok) result = status;
    }
    const auto closed = key.close();
    return result == reg::RegStatus::Ok ? closed : result;
}

}  // namespace korventa
