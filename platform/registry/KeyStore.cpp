#include "platform/registry/KeyStore.h"

#include <sqlite3.h>

#include "platform/registry/RegName.h"

namespace korventa::reg {
namespace {

constexpr std::int64_t kRootId = 1;

// Recursive queries rather than cascading foreign keys: cascades stop at SQLite's trigger
// depth limit, a deep tree does not.
constexpr const char* kSubtree =
    "WITH RECURSIVE tree(id) AS (SELECT ?1 UNION ALL "
    "SELECT keys.id FROM keys JOIN tree ON keys.parent = tree.id) ";

}  // namespace

RegStatus KeyStore::find(const KeyPath& path, Key& out) {
    return walk(path, false, out);
}

RegStatus KeyStore::create(const KeyPath& path, Key& out) {
    return walk(path, true, out);
}

RegStatus KeyStore::walk(const KeyPath& path, bool createMissing, Key& out) {
    Key key{kRootId, {}};
    for (const std::string& name : path.names()) {
        std::string stored;
        RegStatus status = findChild(key.id, name, key.id, stored);
        if (status == RegStatus::NotFound && createMissing) {
            stored = name;
            status = insertChild(key.id, name, key.id);
        }
        if (status != RegStatus::Ok)
            return status;
        if (!key.path.empty())
            key.path.push_back(u'\\');
        key.path += fromUtf8(stored);
    }
    out = std::move(key);
    return RegStatus::Ok;
}

RegStatus KeyStore::findChild(std::int64_t parent, const std::string& name, std::int64_t& id,
                              std::string& storedName) {
    SqliteStatement statement;
    RegStatus status =
        connection_.prepare("SELECT id, name FROM keys WHERE parent = ?1 AND name = ?2", statement);
    if (status != RegStatus::Ok)
        return status;
    statement.bindInt(1, parent);
    statement.bindText(2, name);
    const int result = statement.step();
    if (result == SQLITE_DONE)
        return RegStatus::NotFound;
    if (result != SQLITE_ROW)
        return connection_.failure(result);
    id = statement.intColumn(0);
    storedName = statement.textColumn(1);
    return RegStatus::Ok;
}

RegStatus KeyStore::insertChild(std::int64_t parent, const std::string& name, std::int64_t& id) {
    SqliteStatement statement;
    RegStatus status =
        connection_.prepare("INSERT INTO keys(parent, name) VALUES(?1, ?2)", statement);
    if (status != RegStatus::Ok)
        return status;
    statement.bindInt(1, parent);
    statement.bindText(2, name);
    status = run(statement);
    if (status == RegStatus::Ok)
        id = connection_.lastInsertId();
    return status;
}

RegStatus KeyStore::removeTree(std::int64_t key) {
    const std::string values = std::string(kSubtree) + "DELETE FROM vals WHERE key IN tree";
    const std::string keys = std::string(kSubtree) +
                             "DELETE FROM keys WHERE id IN tree AND id <> " +
                             std::to_string(kRootId);
    for (const std::string& sql : {values, keys}) {
        SqliteStatement statement;
        RegStatus status = connection_.prepare(sql.c_str(), statement);
        if (status != RegStatus::Ok)
            return status;
        statement.bindInt(1, key);
        if (status = run(statement); status != RegStatus::Ok)
            return status;
    }
    return RegStatus::Ok;
}

RegStatus KeyStore::readValues(std::int64_t key, std::vector<RegValue>& out) {
    SqliteStatement statement;
    RegStatus status = connection_.prepare(
        "SELECT name, type, data FROM vals WHERE key = ?1 ORDER BY id", statement);
    if (status != RegStatus::Ok)
        return status;
    statement.bindInt(1, key);
    std::vector<RegValue> values;
    int result = SQLITE_ROW;
    while ((result = statement.step()) == SQLITE_ROW) {
        values.push_back({fromUtf8(statement.textColumn(0)),
                          static_cast<std::uint32_t>(statement.intColumn(1)),
                          statement.blobColumn(2)});
    }
    if (result != SQLITE_DONE)
        return connection_.failure(result);
    out = std::move(values);
    return RegStatus::Ok;
}

RegStatus KeyStore::readValue(std::int64_t key, WStringView name, RegValue& out) {
    std::string stored;
    if (RegStatus status = storedName(name, stored); status != RegStatus::Ok)
        return status;
    SqliteStatement statement;
    RegStatus status = connection_.prepare(
        "SELECT name, type, data FROM vals WHERE key = ?1 AND name = ?2", statement);
    if (status != RegStatus::Ok)
        return status;
    statement.bindInt(1, key);
    statement.bindText(2, stored);
    const int result = statement.step();
    if (result == SQLITE_DONE)
        return RegStatus::NotFound;
    if (result != SQLITE_ROW)
        return connection_.failure(result);
    out = {fromUtf8(statement.textColumn(0)), static_cast<std::uint32_t>(statement.intColumn(1)),
           statement.blobColumn(2)};
    return RegStatus::Ok;
}

RegStatus KeyStore::readSubKeys(std::int64_t key, std::vector<WString>& out) {
    SqliteStatement statement;
    RegStatus status =
        connection_.prepare("SELECT name FROM keys WHERE parent = ?1 ORDER BY id", statement);
    if (status != RegStatus::Ok)
        return status;
    statement.bindInt(1, key);
    std::vector<WString> names;
    int result = SQLITE_ROW;
    while ((result = statement.step()) == SQLITE_ROW) {
        names.push_back(fromUtf8(statement.textColumn(0)));
    }
    if (result != SQLITE_DONE)
        return connection_.failure(result);
    out = std::move(names);
    return RegStatus::Ok;
}

RegStatus KeyStore::writeValue(std::int64_t key, WStringView name, std::uint32_t type,
                               const std::string& data) {
    std::string stored;
    if (RegStatus status = storedName(name, stored); status != RegStatus::Ok)
        return status;
    SqliteStatement statement;
    // An upsert keeps the row, hence the value's place and the case its name was first written in.
    RegStatus status = connection_.prepare(
        "INSERT INTO vals(key, name, type, data) VALUES(?1, ?2, ?3, ?4) "
        "ON CONFLICT(key, name) DO UPDATE SET type = excluded.type, data = excluded.data",
        statement);
    if (status != RegStatus::Ok)
        return status;
    statement.bindInt(1, key);
    statement.bindText(2, stored);
    statement.bindInt(3, type);
    statement.bindBlob(4, data);
    return run(statement);
}

RegStatus KeyStore::removeValue(std::int64_t key, WStringView name) {
    std::string stored;
    if (RegStatus status = storedName(name, stored); status != RegStatus::Ok)
        return status;
    SqliteStatement statement;
    RegStatus status =
        connection_.prepare("DELETE FROM vals WHERE key = ?1 AND name = ?2", statement);
    if (status != RegStatus::Ok)
        return status;
    statement.bindInt(1, key);
    statement.bindText(2, stored);
    if (status = run(statement); status != RegStatus::Ok)
        return status;
    return connection_.changes() == 0 ? RegStatus::NotFound : RegStatus::Ok;
}

RegStatus KeyStore::run(SqliteStatement& statement) {
    const int result = statement.step();
    return result == SQLITE_DONE ? RegStatus::Ok : connection_.failure(result);
}

}  // namespace korventa::reg
