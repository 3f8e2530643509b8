// The registry's keys and values on the tables of one open hive connection: finding and
// creating keys by path, deleting subtrees, reading and writing values. Works inside the
// connection's transaction and borrows the connection; one thread, as the connection.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/registry/HiveConnection.h"
#include "platform/registry/KeyPath.h"
#include "platform/registry/RegValue.h"

namespace korventa::reg {

class KeyStore {
public:
    // A key found or created: its row and its path as stored (case first written).
    struct Key {
        std::int64_t id = 0;
        WString path;
    };

    explicit KeyStore(HiveConnection& connection) : connection_(connection) {}

    [[nodiscard]] RegStatus find(const KeyPath& path, Key& out);
    [[nodiscard]] RegStatus create(const KeyPath& path, Key& out);
    // Removes the key's subkeys and values and, unless it is the root, the key itself.
    [[nodiscard]] RegStatus removeTree(std::int64_t key);

    [[nodiscard]] RegStatus readValues(std::int64_t key, std::vector<RegValue>& out);
    [[nodiscard]] RegStatus readValue(std::int64_t key, WStringView name, RegValue& out);
    [[nodiscard]] RegStatus readSubKeys(std::int64_t key, std::vector<WString>& out);
    [[nodiscard]] RegStatus writeValue(std::int64_t key, WStringView name, std::uint32_t type,
                                       const std::string& data);
    [[nodiscard]] RegStatus removeValue(std::int64_t key, WStringView name);

private:
    [[nodiscard]] RegStatus walk(const KeyPath& path, bool createMissing, Key& out);
    [[nodiscard]] RegStatus findChild(std::int64_t parent, const std::string& name,
                                      std::int64_t& id, std::string& storedName);
    [[nodiscard]] RegStatus insertChild(std::int64_t parent, const std::string& name,
                                        std::int64_t& id);
    [[nodiscard]] RegStatus run(SqliteStatement& statement);

    HiveConnection& connection_;
};

}  // namespace korventa::reg
