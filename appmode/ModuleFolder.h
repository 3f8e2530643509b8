// Where the running executable lives: the folder that the script package and other installed
// files sit in. Read from /proc/self/exe on every call; no state, any thread.
#pragma once

#include "core/Text.h"

namespace korventa {

// Everything up to and including the last "\", "/" or ":"; empty without such a character.
[[nodiscard]] WString folderOfPath(WStringView path);

// The executable's folder with its trailing separator; empty when the path cannot be read
// or does not fit the room of 2048 characters (a cut path would name the wrong folder).
[[nodiscard]] WString ModuleFolder();

}  // namespace korventa
