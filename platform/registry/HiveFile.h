// File-system side of a hive: whether the file is there, creating it (folders 0700, file 0600,
// since a hive holds one user's settings) and whether this process may write it.
// Plain functions on paths; any thread.
#pragma once

#include <string>

#include "platform/registry/RegStatus.h"

namespace korventa::reg {

// Ok when the file exists, NotFound when it or a folder on the way does not.
[[nodiscard]] RegStatus findHiveFile(const std::string& path);
// Creates missing parent folders and an empty file; an existing file is left as it is.
[[nodiscard]] RegStatus createHiveFile(const std::string& path);
// AccessDenied unless the file and its folder (where the journal goes) may be written.
[[nodiscard]] RegStatus checkHiveWritable(const std::string& path);

}  // namespace korventa::reg
