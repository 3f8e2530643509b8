// An open registry key, the HKEY counterpart. A Read key copies one consistent snapshot at open
// and holds no lock; a Write key (open or create) owns a connection and is one write batch,
// committed exactly once by close() or the destructor. One thread per key object; any number
// of keys and processes at once (writers wait, bounded). A second write batch on the same hive
// from the thread holding one waits out that bound: the opening calls close `out` first.
#pragma once

#include <memory>
#include <vector>

#include "platform/registry/RegStatus.h"
#include "platform/registry/RegValue.h"
#include "platform/registry/RegistryHive.h"

namespace korventa::reg {

enum class KeyAccess { Read, Write };

class RegistryKey {
public:
    RegistryKey();
    ~RegistryKey();
    RegistryKey(RegistryKey&&) noexcept;
    RegistryKey& operator=(RegistryKey&&) noexcept;

    // Paths are backslash-separated below the hive root, matched ignoring ASCII case and kept
    // in the case first written; one trailing backslash is allowed; "" is the root key.
    // Existing keys only. A Read key of a damaged hive is NotFound (the file is named on stderr).
    [[nodiscard]] static RegStatus open(const RegistryHive& hive, WStringView path,
                                        KeyAccess access, RegistryKey& out);
    // Opens the key for writing, creating it and any missing parents.
    [[nodiscard]] static RegStatus create(const RegistryHive& hive, WStringView path,
                                          RegistryKey& out);
    // Removes a key with all its subkeys and values, in a transaction of its own.
    [[nodiscard]] static RegStatus deleteTree(const RegistryHive& hive, WStringView path);

    [[nodiscard]] bool isOpen() const;
    // The key's path as stored (case first written), without trailing backslash.
    [[nodiscard]] WString path() const;

    // Values in the order they were created (a rewritten value keeps its place).
    [[nodiscard]] RegStatus values(std::vector<RegValue>& out) const;
    [[nodiscard]] RegStatus value(WStringView name, RegValue& out) const;
    // Names of the direct subkeys, in the order they were created.
    [[nodiscard]] RegStatus subKeys(std::vector<WString>& out) const;

    [[nodiscard]] RegStatus setValue(WStringView name, std::uint32_t type, std::string data);
    [[nodiscard]] RegStatus setString(WStringView name, WStringView text);
    [[nodiscard]] RegStatus deleteValue(WStringView name);

    // Commits a write batch (no-op for readers) and releases the connection.
    RegStatus close();

private:
    class Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace korventa::reg
