#include "print/RegistryJobRecordStore.h"

#include "driver/KeyValues.h"
#include "platform/registry/RegistryHive.h"

namespace korventa {

// A key that cannot be read leaves the job without its folder, which the writer reports.
void RegistryJobRecordStore::read(WStringView jobKeyName, SettingsMap& values) {
    (void)ReadKeyValues(driverKeyPath(jobKeyName), values,
                        reg::RegistryHive::local(reg::RootKey::CurrentUser));
}

bool RegistryJobRecordStore::writeBatch(WStringView jobKeyName, const SettingsMap& values) {
    return WriteKeyValues(jobKeyName, values) == reg::RegStatus::Ok;
}

}  // namespace korventa
