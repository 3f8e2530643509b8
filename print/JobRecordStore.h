// Where a job record lives: the job key below the driver's root in the user's hive, read
// whole and written in batches, one transaction per batch. RegistryJobRecordStore is the
// registry; tests wrap it to watch the batches. Window thread.
#pragma once

#include "core/SettingsMap.h"
#include "core/Text.h"

namespace korventa {

class JobRecordStore {
public:
    virtual ~JobRecordStore() = default;
    // Adds the key's values to `values`; a missing key adds nothing.
    virtual void read(WStringView jobKeyName, SettingsMap& values) = 0;
    // Creates the key when missing; false when any of the batch was not stored.
    [[nodiscard]] virtual bool writeBatch(WStringView jobKeyName, const SettingsMap& values) = 0;
};

}  // namespace korventa
