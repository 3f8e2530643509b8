// Key and value names as the hive stores them: UTF-8 text, compared with ASCII-only case
// folding (the store's NOCASE collation). Pure functions, any thread.
#pragma once

#include <string>

#include "core/Text.h"
#include "platform/registry/RegStatus.h"

namespace korventa::reg {

// InvalidArgument for a name with a NUL or a lone surrogate: neither survives the store's
// text form, so such a name would silently become another one.
[[nodiscard]] RegStatus storedName(WStringView name, std::string& out);

// True when the names differ at most in the case of ASCII letters.
[[nodiscard]] bool sameName(WStringView a, WStringView b);

}  // namespace korventa::reg
