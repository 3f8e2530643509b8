// Outcome of a registry store call. Callers that follow the platform's silent rules only
// test for Ok; the admin tool turns the others into messages.
#pragma once

namespace korventa::reg {

enum class RegStatus {
    Ok = 0,
    NotFound = 1,         // key, value or hive file does not exist
    AccessDenied = 2,     // hive opened read-only, or the file may not be written
    BadHive = 3,          // not a database, damaged, or of a newer schema: never written
    Busy = 4,             // another writer held the hive longer than the bounded wait
    InvalidArgument = 5,  // malformed key path or name
    IoError = 6,          // anything else the store could not do
};

[[nodiscard]] const char* describe(RegStatus status);

}  // namespace korventa::reg
