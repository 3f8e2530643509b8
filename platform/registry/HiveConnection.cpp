#include "platform/registry/HiveConnection.h"

#include <sqlite3.h>
#include <unistd.h>

#include <cstdio>

#include "platform/registry/HiveFile.h"

namespace korventa::reg {
namespace {

constexpr std::int64_t kSchemaVersion = 1;

// A writer waits about this long for another one (or for readers at commit) before giving
// Busy; counted in naps, so a slow machine waits a little longer, never for ever.
constexpr int kBusyTimeoutMs = 10000;
constexpr int kBusyPollMs = 2;

// Keys form a tree below the root row 1; rowids keep creation order for subkeys and values
// (an upsert keeps the row, so a rewritten value keeps its place). NOCASE folds ASCII only.
constexpr const char* kSchema =
    "CREATE TABLE keys("
    " id INTEGER PRIMARY KEY,"
    " parent INTEGER,"
    " name TEXT NOT NULL COLLATE NOCASE,"
    " UNIQUE(parent, name));"
    "CREATE TABLE vals("
    " id INTEGER PRIMARY KEY,"
    " key INTEGER NOT NULL,"
    " name TEXT NOT NULL COLLATE NOCASE,"
    " type INTEGER NOT NULL,"
    " data BLOB NOT NULL,"
    " UNIQUE(key, name));"
    "INSERT INTO keys(id, parent, name) VALUES(1, NULL, '');"
    "PRAGMA user_version = 1;";

// SQLite's own timed handler backs off to 100 ms naps, so a writer that has waited long
// keeps losing the lock to newcomers; short even naps keep the waiters roughly in turn.
int waitForLock(void*, int attempts) {
    if (attempts * kBusyPollMs >= kBusyTimeoutMs)
        return 0;
    ::usleep(kBusyPollMs * 1000);
    return 1;
}

bool writes(HiveConnection::Mode mode) {
    return mode == HiveConnection::Mode::Write || mode == HiveConnection::Mode::Create;
}

// A relative name or one starting with "file:" must never reach SQLite's URI parser.
std::string sqliteFileName(const std::string& path) {
    return path.front() == '/' ? path : "./" + path;
}

}  // namespace

HiveConnection::~HiveConnection() {
    if (lease_.db && inTransaction_)
        reusable_ = reusable_ && sqlite3_exec(lease_.db.get(), "ROLLBACK", nullptr, nullptr, nullptr) ==
                    SQLITE_OK;
    if (reusable_ && !batchLost_)
        ConnectionPool::giveBack(std::move(lease_));
}

RegStatus HiveConnection::open(const std::string& path, Mode mode, HiveConnection& out) {
    if (path.empty())
        return RegStatus::InvalidArgument;
    RegStatus status = findHiveFile(path);
    if (status == RegStatus::NotFound && mode == Mode::Create)
        status = createHiveFile(path);
    if (status == RegStatus::Ok && writes(mode))
        status = checkHiveWritable(path);
    HiveConnection connection;
    connection.path_ = path;
    if (status == RegStatus::Ok)
        status = connection.connect(path, mode);
    if (status == RegStatus::Ok)
        status = connection.begin(mode);
    Schema schema = Schema::Missing;
    if (status == RegStatus::Ok)
        status = connection.checkSchema(mode, schema);
    if (status == RegStatus::Ok && schema == Schema::Missing) {
        status = mode == Mode::Create ? connection.createSchema() : RegStatus::NotFound;
    }
    if (status != RegStatus::Ok)
        return status;
    connection.reusable_ = true;
    out = std::move(connection);
    return RegStatus::Ok;
}

RegStatus HiveConnection::connect(const std::string& path, Mode mode) {
    const int flags = mode == Mode::Probe ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
    const int result = ConnectionPool::open(path, sqliteFileName(path), flags, lease_);
    if (result != SQLITE_OK)
        return failure(result);
    sqlite3_busy_handler(lease_.db.get(), waitForLock, nullptr);
    // SQLite falls back to read-only when the file refuses writing.
    if (writes(mode) && sqlite3_db_readonly(lease_.db.get(), "main") == 1)
        return RegStatus::AccessDenied;
    return RegStatus::Ok;
}

RegStatus HiveConnection::begin(Mode mode) {
    // IMMEDIATE takes the write lock now, so a batch never fails halfway for want of it.
    const RegStatus status = execute(writes(mode) ? "BEGIN IMMEDIATE" : "BEGIN");
    inTransaction_ = status == RegStatus::Ok;
    return status;
}

RegStatus HiveConnection::checkSchema(Mode mode, Schema& schema) {
    std::int64_t version = 0;
    std::int64_t objects = 0;
    if (RegStatus status = queryInt("PRAGMA user_version", version); status != RegStatus::Ok) {
        return status;
    }
    if (version > kSchemaVersion) {
        return badHive("has a newer schema (version " + std::to_string(version) + ")");
    }
    if (RegStatus status = queryInt("SELECT count(*) FROM sqlite_master", objects);
        status != RegStatus::Ok) {
        return status;
    }
    if (version == 0 && objects == 0) {
        schema = Schema::Missing;
        return RegStatus::Ok;
    }
    if (version != kSchemaVersion)
        return badHive("is not a registry hive");
    std::int64_t tables = 0;
    std::int64_t roots = 0;
    RegStatus status = queryInt(
        "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name IN ('keys', 'vals')",
        tables);
    if (status == RegStatus::Ok && tables == 2) {
        status = queryInt("SELECT count(*) FROM keys WHERE id = 1 AND parent IS NULL", roots);
    }
    if (status != RegStatus::Ok)
        return status;
    if (tables != 2 || roots != 1)
        return badHive("is damaged");
    schema = Schema::Ready;
    return writes(mode) ? checkIntegrity() : RegStatus::Ok;
}

// Before the first write of a batch: SQLite notices damage only on the pages it reads, and a
// batch must not add to a file that is already damaged elsewhere.
RegStatus HiveConnection::checkIntegrity() {
    SqliteStatement statement;
    if (RegStatus status = prepare("PRAGMA quick_check(1)", statement); status != RegStatus::Ok) {
        return status;
    }
    const int result = statement.step();
    if (result != SQLITE_ROW)
        return failure(result);
    return statement.textColumn(0) == "ok" ? RegStatus::Ok : badHive("is damaged");
}

RegStatus HiveConnection::createSchema() {
    return execute(kSchema);
}

RegStatus HiveConnection::execute(const char* sql) {
    if (batchLost_)
        return RegStatus::IoError;
    const int result = sqlite3_exec(lease_.db.get(), sql, nullptr, nullptr, nullptr);
    return result == SQLITE_OK ? RegStatus::Ok : failure(result);
}

RegStatus HiveConnection::queryInt(const char* sql, std::int64_t& out) {
    SqliteStatement statement;
    if (RegStatus status = prepare(sql, statement); status != RegStatus::Ok)
        return status;
    const int result = statement.step();
    if (result != SQLITE_ROW)
        return failure(result);
    out = statement.intColumn(0);
    return RegStatus::Ok;
}

RegStatus HiveConnection::prepare(const char* sql, SqliteStatement& out) {
    if (!lease_.db || batchLost_)
        return RegStatus::IoError;
    const int result = SqliteStatement::prepare(lease_.db.get(), sql, out);
    return result == SQLITE_OK ? RegStatus::Ok : failure(result);
}

RegStatus HiveConnection::failure(int result) {
    if ((result & 0xFF) != SQLITE_BUSY)
        reusable_ = false;
    // Some errors (disk full, I/O) make SQLite roll the whole transaction back; later
    // statements would then run one by one outside any batch.
    if (inTransaction_ && sqlite3_get_autocommit(lease_.db.get()) != 0) {
        inTransaction_ = false;
        batchLost_ = true;
    }
    switch (result & 0xFF) {
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            return RegStatus::Busy;
        case SQLITE_READONLY:
        case SQLITE_PERM:
        case SQLITE_AUTH:
            return RegStatus::AccessDenied;
        case SQLITE_NOTADB:
            return badHive("is not a database");
        case SQLITE_CORRUPT:
            return badHive("is damaged");
        case SQLITE_TOOBIG:
        case SQLITE_RANGE:
            return RegStatus::InvalidArgument;
        default:
            return RegStatus::IoError;
    }
}

std::int64_t HiveConnection::lastInsertId() const {
    return sqlite3_last_insert_rowid(lease_.db.get());
}

int HiveConnection::changes() const {
    return sqlite3_changes(lease_.db.get());
}

RegStatus HiveConnection::commit() {
    if (batchLost_ || !lease_.db)
        return RegStatus::IoError;
    if (!inTransaction_)
        return RegStatus::Ok;
    const int result = sqlite3_exec(lease_.db.get(), "COMMIT", nullptr, nullptr, nullptr);
    if (result == SQLITE_OK) {
        inTransaction_ = false;
        return RegStatus::Ok;
    }
    const RegStatus status = failure(result);
    if (inTransaction_)
        sqlite3_exec(lease_.db.get(), "ROLLBACK", nullptr, nullptr, nullptr);
    inTransaction_ = false;
    return status;
}

RegStatus HiveConnection::badHive(const std::string& reason) {
    if (!reported_) {
        std::fprintf(stderr, "korventa: registry hive %s %s; left untouched\n", path_.c_str(),
                     reason.c_str());
        reported_ = true;
    }
    return RegStatus::BadHive;
}

}  // namespace korventa::reg
