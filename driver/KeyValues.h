// Whole registry keys read into and written from a SettingsMap, and the two ways of naming a
// settings key. Every value is taken as text whatever its stored type. Stateless; each call
// opens its own key, so any thread may call.
#pragma once

#include "core/SettingsMap.h"
#include "core/Text.h"
#include "platform/registry/RegStatus.h"
#include "platform/registry/RegistryHive.h"

namespace korventa {

// Plain form: the root followed directly by the subkey name.
[[nodiscard]] WString plainKeyPath(WStringView root, WStringView subkey);
// Driver form: DriverRegistryRoot, then the subkey name and a backslash when it is not empty.
[[nodiscard]] WString driverKeyPath(WStringView subkey);

// Stores every value of the key under its name, overwriting earlier texts of the same name.
// A key that does not open or cannot be read leaves the map unchanged.
[[nodiscard]] reg::RegStatus ReadKeyValues(WStringView keyPath, SettingsMap& map,
                                           const reg::RegistryHive& hive);

// One write batch in the user's hive: the key named in driver form is created
// with its missing parents and every entry is written as text, in map order. An entry that
// fails does not stop the rest; the result is the first failure, or Ok.
[[nodiscard]] reg::RegStatus WriteKeyValues(WStringView subkey, const SettingsMap& map);

}  // namespace korventa
