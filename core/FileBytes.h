// Whole files read into memory for the finishing steps: the job's PDF and its invoice XML.
// Only regular files are read, so a FIFO or a device named in a job cannot block or flood the
// worker; the job's own files are opened without following a symbolic link. Stateless; any
// thread.
#pragma once

#include <cstddef>
#include <string>

namespace korventa::refdriver {

enum class LinkPolicy { Refuse, Follow };

// False with a short reason in `error` (for the job's diagnostics) when the file is missing,
// not a regular file, larger than `maxBytes` or unreadable.
[[nodiscard]] bool readFileBytes(const std::string& path, LinkPolicy links, std::size_t maxBytes,
                                 std::string& bytes, std::string& error);

}  // namespace korventa::refdriver
