// The job record in the registry: DriverRegistryRoot + job key name + "\" in the user's hive,
// each batch one WriteKeyValues (one transaction). Stateless; any thread.
#pragma once

#include "print/JobRecordStore.h"

namespace korventa {

class RegistryJobRecordStore final : public JobRecordStore {
public:
    void read(WStringView jobKeyName, SettingsMap& values) override;
    [[nodiscard]] bool writeBatch(WStringView jobKeyName, const SettingsMap& values) override;
};

}  // namespace korventa
