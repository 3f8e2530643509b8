// The base name of a finished job's files: the job's "DestFileName" when it is a plain file
// name, else the document title ("DocTitle", else "JobDocument"). Whatever a page
// wrote becomes one harmless file name: no folder part, no hidden file, no control
// character, short enough for every file system once " (n)" and an extension are added.
// Pure functions; any thread.
#pragma once

#include <string>

#include "core/Text.h"

namespace korventa::refdriver {

// Base names are cut to this many UTF-8 bytes, so "name (9999).pdf" stays below the usual
// limit of 255 bytes.
inline constexpr std::size_t MaxBaseNameBytes = 200;

// True for a name without a path separator, control character or leading dot.
[[nodiscard]] bool isPlainFileName(WStringView name);

// UTF-8 base name without ".pdf" for any title; "document" when nothing usable is left.
[[nodiscard]] std::string safeBaseName(WStringView title);

// The base name for a job. `refused` is a wanted name that was not used, else empty.
[[nodiscard]] std::string outputBaseName(WStringView wantedName, WStringView title,
                                         std::string& refused);

}  // namespace korventa::refdriver
