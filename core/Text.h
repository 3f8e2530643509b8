// The system's text type and the one pair of conversions between it and UTF-8.
// UTF-16 is the text of every setting, path and page command inside the program;
// UTF-8 is what crosses to page scripts, files and the C library. Pure functions, any thread.
#pragma once

#include <string>
#include <string_view>

namespace korventa {

using WString = std::u16string;
using WStringView = std::u16string_view;

// Lenient: every ill-formed sequence becomes one U+FFFD per maximal subpart, as the
// platform's non-strict conversion does.
[[nodiscard]] WString fromUtf8(std::string_view bytes);
// Lone surrogates become U+FFFD.
[[nodiscard]] std::string toUtf8(WStringView text);

// Strips space, tab, CR, LF, form feed and U+00A0 at both ends: the driver's blank set.
[[nodiscard]] WStringView trimBlanks(WStringView text);

// The settings' boolean form: on only for exactly "True" or "true".
[[nodiscard]] bool isTrueText(WStringView text);
[[nodiscard]] const char16_t* boolText(bool on);

// Decimal digits of an unsigned number, for values stored as text.
[[nodiscard]] WString decimalText(unsigned long long number);

}  // namespace korventa
