// Whole files read into memory: a job's PDF and invoice XML, a batch run's data files. Only
// regular files are read, so a FIFO or a device named in the input cannot block or flood the
// reader; a job's own files are opened without following a symbolic link. Stateless; any
// thread.
#pragma once

#include <cstddef>
#include <string>

namespace korventa {

enum class LinkPolicy { Refuse, Follow };

// False with a short reason in `error` when the file is missing, not a regular file, larger
// than `maxBytes` or unreadable.
[[nodiscard]] bool readFileBytes(const std::string& path, LinkPolicy links, std::size_t maxBytes,
                                 std::string& bytes, std::string& error);

}  // namespace korventa
