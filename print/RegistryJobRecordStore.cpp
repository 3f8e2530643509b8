#include "print/RegistryJobRecordStore.h"

#include "driver/KeyValues.h"
#include "platform/registry/RegistryHive.h"

namespace korventa {

// Both failures are silent by design: a job whose key cannot be read or written still gets
// its files and its hand-off, and the driver reports what it lacks.
void RegistryJobRecordStore::read(WStringView jobKeyName, SettingsMap& values) {
    (void)ReadKeyValues(driverKeyPath(jobKeyName), values,
                        reg::RegistryHive::local(reg::RootKey::CurrentUser));
}

void RegistryJobRecordStore::writeBatch(WStringView jobKeyName, const SettingsMap& values) {
    (void)WriteKeyValues(jobKeyName, values);
}

}  // namespace korventa
