// Reads a whole text file into UTF-16. A byte order mark decides the encoding; without one
// the caller's hint does: "UTF-8", "UTF-16" (little endian), "UTF-16BE" or "ACP" (the locale
// charset), exact case, an empty hint meaning "ACP". No state; any thread.
#pragma once

#include <string_view>

#include "core/Text.h"

namespace korventa {

// Never fails: an empty path, a file that cannot be opened or read, and an unknown hint all
// give an empty text. The file is read whole and in binary.
[[nodiscard]] WString ReadTextFile(WStringView path, WStringView hint);

// The decoding step alone: mark first, then hint; an odd last byte of UTF-16 is ignored.
[[nodiscard]] WString decodeText(std::string_view bytes, WStringView hint);

}  // namespace korventa
