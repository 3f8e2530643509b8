// One SQLite connection to one hive file, the only owner of its handle, and the one
// transaction it runs: a read snapshot or an IMMEDIATE write batch, ended exactly once (commit,
// or rollback on destruction). Opening checks that the file is a hive of a schema this program
// knows; a bad file is named once on standard error and never written. The handle comes from
// and returns to the thread's ConnectionPool. One thread per object.
#pragma once

#include <memory>
#include <string>

#include "platform/registry/ConnectionPool.h"
#include "platform/registry/RegStatus.h"
#include "platform/registry/SqliteStatement.h"

struct sqlite3;

namespace korventa::reg {

class HiveConnection {
public:
    enum class Mode {
        Probe,   // strictly read-only: never touches the file, not even to recover a journal
        Read,    // read-only snapshot; rolls back a crashed writer's journal when it may
        Write,   // write batch on an existing hive
        Create,  // write batch that creates the file and its schema when missing
    };

    HiveConnection() = default;
    ~HiveConnection();
    HiveConnection(HiveConnection&&) noexcept = default;
    HiveConnection& operator=(HiveConnection&&) noexcept = default;

    // NotFound when the file does not exist or holds no hive yet (except for Create);
    // BadHive for a damaged, foreign or newer file; AccessDenied for a write the file refuses.
    [[nodiscard]] static RegStatus open(const std::string& path, Mode mode, HiveConnection& out);

    [[nodiscard]] RegStatus prepare(const char* sql, SqliteStatement& out);
    // The status of a failed SQLite call; names a damaged file once and notices when SQLite
    // rolled the batch back by itself, after which nothing more is written or committed.
    [[nodiscard]] RegStatus failure(int result);
    [[nodiscard]] std::int64_t lastInsertId() const;
    [[nodiscard]] int changes() const;

    // Ends the transaction. A write batch that cannot commit is rolled back.
    [[nodiscard]] RegStatus commit();

private:
    enum class Schema { Missing, Ready };

    [[nodiscard]] RegStatus connect(const std::string& path, Mode mode);
    [[nodiscard]] RegStatus begin(Mode mode);
    [[nodiscard]] RegStatus checkSchema(Mode mode, Schema& schema);
    [[nodiscard]] RegStatus checkIntegrity();
    [[nodiscard]] RegStatus createSchema();
    [[nodiscard]] RegStatus execute(const char* sql);
    [[nodiscard]] RegStatus queryInt(const char* sql, std::int64_t& out);
    [[nodiscard]] RegStatus badHive(const std::string& reason);

    ConnectionPool::Lease lease_;
    std::string path_;
    bool reusable_ = false;  // opened fully and never failed: its handle may serve again
    bool inTransaction_ = false;
    bool batchLost_ = false;
    bool reported_ = false;
};

}  // namespace korventa::reg
