// Several keys of one hive changed as one transaction: the .reg import and tree deletes.
// Nothing is visible to others until commit(); a transaction dropped without commit() rolls
// back. Paths as in RegistryKey.
#pragma once

#include <memory>

#include "platform/registry/RegStatus.h"
#include "platform/registry/RegValue.h"
#include "platform/registry/RegistryHive.h"

namespace korventa::reg {

class RegistryTransaction {
public:
    RegistryTransaction();
    ~RegistryTransaction();
    RegistryTransaction(RegistryTransaction&&) noexcept;
    RegistryTransaction& operator=(RegistryTransaction&&) noexcept;

    [[nodiscard]] static RegStatus begin(const RegistryHive& hive, RegistryTransaction& out);

    [[nodiscard]] RegStatus createKey(WStringView path);
    [[nodiscard]] RegStatus deleteKey(WStringView path);  // with its subtree; NotFound if absent
    [[nodiscard]] RegStatus deleteKeyIfPresent(WStringView path);  // Ok when absent
    [[nodiscard]] RegStatus setValue(WStringView keyPath, WStringView name, std::uint32_t type,
                                     std::string data);  // creates the key when missing
    [[nodiscard]] RegStatus deleteValue(WStringView keyPath, WStringView name);

    [[nodiscard]] RegStatus commit();

private:
    class Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace korventa::reg
