// Decodes bytes in the charset of the process's LC_CTYPE locale, the counterpart here of the
// platform's ANSI code page. Each call opens its own converter; any thread, though the
// result follows whatever locale the process has set at that moment.
#pragma once

#include <string_view>

#include "core/Text.h"

namespace korventa {

// Each byte the charset cannot decode (also a character cut off at the end) becomes U+FFFD;
// empty when the locale's charset has no converter.
[[nodiscard]] WString decodeLocaleCharset(std::string_view bytes);

}  // namespace korventa
