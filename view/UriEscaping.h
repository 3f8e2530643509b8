// The address repair's text escaping: the URI-component escaping of ASCII that the search
// query is built from, and the folding of escaped blanks into "+". Pure functions, any thread.
#pragma once

#include <cstddef>
#include <optional>

#include "core/Text.h"

namespace korventa {

// The escaped text may hold at most this many characters (a 2048-character buffer with its
// terminating zero, as the platform escaping had).
constexpr std::size_t kEscapedTextLimit = 2047;

// Letters, digits, "-", ".", "_" and "~" stay, every other ASCII character becomes %XX with
// upper-case hex digits, non-ASCII stays. Empty when the result would exceed the limit.
[[nodiscard]] std::optional<WString> escapeUriComponent(WStringView text);

// Every run of one or more "%20" becomes a single "+".
[[nodiscard]] WString foldEscapedBlanks(WStringView escaped);

}  // namespace korventa
