// An open registry key, the HKEY counterpart. Owns its own SQLite connection.
// Opened for Read it sees one consistent snapshot; opened for Write (open or create) it is one
// write batch: a transaction that begins when the key opens and commits exactly once, in
// close() or in the destructor (as closing a key persists its writes). Key paths are
// backslash-separated below the hive root, compared case-insensitively (ASCII) and kept in the
// case first written; one trailing backslash is allowed; the empty path is the root key.
// Not thread-safe: one thread per key object. Any number of keys and processes may be open at
// once; a writer waits (bounded) for another writer instead of failing.
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

    // Existing keys only.
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
