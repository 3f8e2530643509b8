#include "platform/registry/SqliteStatement.h"

#include <sqlite3.h>

namespace korventa::reg {

void SqliteStatement::Finalizer::operator()(sqlite3_stmt* statement) const {
    sqlite3_finalize(statement);
}

int SqliteStatement::prepare(sqlite3* db, const char* sql, SqliteStatement& out) {
    sqlite3_stmt* raw = nullptr;
    const int result = sqlite3_prepare_v2(db, sql, -1, &raw, nullptr);
    std::unique_ptr<sqlite3_stmt, Finalizer> owned(raw);
    if (result != SQLITE_OK)
        return result;
    out.statement_ = std::move(owned);
    out.bindResult_ = SQLITE_OK;
    return SQLITE_OK;
}

void SqliteStatement::keepBindResult(int result) {
    if (bindResult_ == SQLITE_OK)
        bindResult_ = result;
}

void SqliteStatement::bindInt(int index, std::int64_t value) {
    keepBindResult(sqlite3_bind_int64(statement_.get(), index, value));
}

void SqliteStatement::bindText(int index, const std::string& text) {
    keepBindResult(sqlite3_bind_text64(statement_.get(), index, text.data(), text.size(),
                                       SQLITE_TRANSIENT, SQLITE_UTF8));
}

void SqliteStatement::bindBlob(int index, const std::string& bytes) {
    // A non-null pointer even for no bytes: a null one would bind SQL NULL, not an empty blob.
    keepBindResult(
        sqlite3_bind_blob64(statement_.get(), index, bytes.data(), bytes.size(), SQLITE_TRANSIENT));
}

int SqliteStatement::step() {
    if (bindResult_ != SQLITE_OK)
        return bindResult_;
    return sqlite3_step(statement_.get());
}

std::int64_t SqliteStatement::intColumn(int index) const {
    return sqlite3_column_int64(statement_.get(), index);
}

std::string SqliteStatement::textColumn(int index) const {
    const auto* text = sqlite3_column_text(statement_.get(), index);
    const auto size = static_cast<std::size_t>(sqlite3_column_bytes(statement_.get(), index));
    return text == nullptr ? std::string() : std::string(reinterpret_cast<const char*>(text), size);
}

std::string SqliteStatement::blobColumn(int index) const {
    const void* bytes = sqlite3_column_blob(statement_.get(), index);
    const auto size = static_cast<std::size_t>(sqlite3_column_bytes(statement_.get(), index));
    return bytes == nullptr ? std::string() : std::string(static_cast<const char*>(bytes), size);
}

}  // namespace korventa::reg
