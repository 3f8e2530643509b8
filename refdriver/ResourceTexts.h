// The reference driver's numbered texts (the program's ribbon labels) in English and German,
// and the rule that picks the language from the driver's "Language" setting. Static data,
// any thread.
#pragma once

#include <cstdint>

#include "core/Text.h"

namespace korventa::refdriver {

enum class TextLanguage { English, German };

// Texts starting with "de" select German; anything else, or nothing, English.
[[nodiscard]] TextLanguage languageFor(WStringView setting);
// Null for a number the driver has no text for.
[[nodiscard]] const char16_t* findText(std::uint32_t id, TextLanguage language);

}  // namespace korventa::refdriver
