// The parenthesised list format of the recent addresses and of list-valued page commands:
// (item)(item) with backslash, "(" and ")" escaped by a backslash and carriage returns dropped.
// Pure functions on text; any thread.
#pragma once

#include <vector>

#include "core/Text.h"

namespace korventa {

[[nodiscard]] WString EscapePdfString(WStringView text);
[[nodiscard]] WString JoinAsPdfStrings(const std::vector<WString>& items);
// Tolerant inverse of JoinAsPdfStrings: text outside items is skipped, an unterminated last
// item is still taken, a lone backslash is kept unless it ends the text.
[[nodiscard]] std::vector<WString> SplitPdfStrings(WStringView text);

}  // namespace korventa
