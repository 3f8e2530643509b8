// Where the XML template of a page lies: beside the page, with the page's base name and the
// extension ".xml". Pure text functions on the address as the view was told to open it, so a
// web address gives a path that simply cannot be opened. Any thread.
#pragma once

#include "core/Text.h"

namespace korventa {

struct PathParts {
    WString folder;    // up to and including the last "\", "/" or ":"; empty without one
    WString fileName;  // the rest
};

[[nodiscard]] PathParts SplitPath(WStringView address);

// Folder part + base name (the file name before its last ".") + ".xml".
[[nodiscard]] WString templatePathFor(WStringView address);

}  // namespace korventa
