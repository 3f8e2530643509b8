// One prepared SQLite statement, the only owner of its handle (finalized on destruction).
// Bind failures are kept and returned by the next step(), so callers check one result.
// Used on the thread of the connection that prepared it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

struct sqlite3;
struct sqlite3_stmt;

namespace korventa::reg {

class SqliteStatement {
public:
    // Returns the SQLite result code; `out` holds the statement only on SQLITE_OK.
    [[nodiscard]] static int prepare(sqlite3* db, const char* sql, SqliteStatement& out);

    void bindInt(int index, std::int64_t value);
    void bindText(int index, const std::string& text);
    void bindBlob(int index, const std::string& bytes);

    // SQLITE_ROW, SQLITE_DONE or an error code (a bind failure first).
    [[nodiscard]] int step();

    [[nodiscard]] std::int64_t intColumn(int index) const;
    [[nodiscard]] std::string textColumn(int index) const;
    [[nodiscard]] std::string blobColumn(int index) const;

private:
    struct Finalizer {
        void operator()(sqlite3_stmt* statement) const;
    };
    void keepBindResult(int result);

    std::unique_ptr<sqlite3_stmt, Finalizer> statement_;
    int bindResult_ = 0;
};

}  // namespace korventa::reg
