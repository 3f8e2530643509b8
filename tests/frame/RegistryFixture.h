// Temporary hives with helpers to put values in and read them back as the store keeps them.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "platform/registry/RegistryHive.h"
#include "platform/registry/RegistryKey.h"
#include "support/TempDir.h"

namespace korventa::test {

inline void putText(const std::string& hiveFile, WStringView keyPath, WStringView name,
                    WStringView text) {
    reg::RegistryKey key;
    ASSERT_EQ(reg::RegistryKey::create(reg::RegistryHive::atPath(hiveFile), keyPath, key),
              reg::RegStatus::Ok);
    ASSERT_EQ(key.setString(name, text), reg::RegStatus::Ok);
    ASSERT_EQ(key.close(), reg::RegStatus::Ok);
}

inline std::vector<reg::RegValue> valuesOf(const std::string& hiveFile, WStringView keyPath) {
    reg::RegistryKey key;
    std::vector<reg::RegValue> values;
    if (reg::RegistryKey::open(reg::RegistryHive::atPath(hiveFile), keyPath, reg::KeyAccess::Read,
                               key) == reg::RegStatus::Ok) {
        EXPECT_EQ(key.values(values), reg::RegStatus::Ok);
    }
    return values;
}

}  // namespace korventa::test
