// New, empty, uniquely named files for a job: prefix + four hexadecimal digits + ".tmp" in a
// given folder, each created exclusively (mode 0600), so no two callers in any process ever
// get the same file. The counterpart of asking the system for a temporary file name with
// unique number 0. Stateless; any thread.
#pragma once

#include "core/Text.h"

namespace korventa {

// True with `path` naming the new file. False with `path` empty for an empty folder, a
// folder that cannot be written and when all 65535 names are taken. The first number tried
// is derived from the clock and the process id.
[[nodiscard]] bool GetTempFileNameW(WStringView folder, WStringView prefix, WString& path);
// The same, trying `firstNumber` (1..0xFFFF) first and the following numbers, wrapping
// around, after it.
[[nodiscard]] bool createUniqueFile(WStringView folder, WStringView prefix, unsigned firstNumber,
                                    WString& path);

}  // namespace korventa
