// Where the application mode's pages live: the "ZUGFeRD" folder beside the driver's
// installation folder, one subfolder or page per application. Pure functions on paths, with
// "/" as the separator written; any thread.
#pragma once

#include "core/Text.h"

namespace korventa {

// The folder that holds `folder`: trailing "\" and "/" ignored, cut at the last separator
// after the first character; empty when there is none ("C:\Driver" gives "C:").
[[nodiscard]] WString ParentFolder(WStringView folder);

// base + "/ZUGFeRD/" + name, plus "/index.html" unless the name ends with ".html".
[[nodiscard]] WString applicationPagePath(WStringView base, WStringView name);

}  // namespace korventa
