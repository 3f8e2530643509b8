// Reads one entry of the script package, the zip archive installed beside the executable,
// into memory; nothing is extracted to disk. Each call opens and closes the package itself,
// so there is no shared state and any thread may call. The trailing line feed of a result
// is how callers tell a complete, checked read from the damaged outcomes listed below.
#pragma once

#include <string>
#include <string_view>

#include "core/Text.h"

namespace korventa {

inline constexpr char16_t kScriptPackageName[] = u"korventa.script.zip";

// ModuleFolder() followed by the package name; the bare name when the folder is unknown.
[[nodiscard]] WString scriptPackagePath();

// Never fails; the entry is the first whose name equals entryName with ASCII a-z folded.
//   package cannot be opened, or no such entry -> "\n"
//   entry read completely and its CRC matches  -> the entry's bytes + "\n"
//   the entry cannot be opened                 -> ""
//   a read fails part way                      -> the bytes so far, and an error line on stdout
//   CRC or length mismatch at the end          -> the entry's bytes
[[nodiscard]] std::string ReadScriptPackageEntry(std::string_view entryName);
[[nodiscard]] std::string ReadScriptPackageEntry(WStringView packagePath,
                                                 std::string_view entryName);

}  // namespace korventa
