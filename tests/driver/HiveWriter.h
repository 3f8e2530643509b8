// Test helpers that put text values into a hive and read them back, failing the running test
// when the store refuses. Header-only; the test's thread.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "core/SettingsMap.h"
#include "core/Text.h"
#include "driver/FinishedJobEntry.h"
#include "platform/registry/RegistryHive.h"
#include "platform/registry/RegistryKey.h"

namespace korventa::test {

inline reg::RegistryHive machineHive() {
    return reg::RegistryHive::local(reg::RootKey::LocalMachine);
}

inline reg::RegistryHive userHive() { return reg::RegistryHive::local(reg::RootKey::CurrentUser); }

inline void putText(const reg::RegistryHive& hive, WStringView keyPath, WStringView name,
                    WStringView text) {
    reg::RegistryKey key;
    ASSERT_EQ(reg::RegistryKey::create(hive, keyPath, key), reg::RegStatus::Ok);
    ASSERT_EQ(key.setString(name, text), reg::RegStatus::Ok);
    ASSERT_EQ(key.close(), reg::RegStatus::Ok);
}

// The value's text, or nothing when the key or the value is missing.
inline std::optional<WString> textOf(const reg::RegistryHive& hive, WStringView keyPath,
                                     WStringView name) {
    reg::RegistryKey key;
    reg::RegValue value;
    if (reg::RegistryKey::open(hive, keyPath, reg::KeyAccess::Read, key) != reg::RegStatus::Ok ||
        key.value(name, value) != reg::RegStatus::Ok) {
        return std::nullopt;
    }
    return value.text();
}

// The names of the key's values in stored order; empty when the key is missing.
inline std::vector<WString> valueNames(const reg::RegistryHive& hive, WStringView keyPath) {
    reg::RegistryKey key;
    std::vector<reg::RegValue> values;
    std::vector<WString> names;
    if (reg::RegistryKey::open(hive, keyPath, reg::KeyAccess::Read, key) != reg::RegStatus::Ok ||
        key.values(values) != reg::RegStatus::Ok) {
        return names;
    }
    for (const auto& value : values) names.push_back(value.name);
    return names;
}

// The driver's finished entry of the job; empty when none was recorded. A hive that cannot
// be read fails the running test.
inline SettingsMap finishedEntry(WStringView jobKeyName) {
    SettingsMap values;
    const reg::RegStatus status = readFinishedJob(jobKeyName, values);
    EXPECT_TRUE(status == reg::RegStatus::Ok || status == reg::RegStatus::NotFound)
        << reg::describe(status);
    return values;
}

}  // namespace korventa::test
