// Translation between the spooler's media descriptions and the program's paper records.
// Pure functions over the library's built-in media table; any thread.
#pragma once

#include <cups/cups.h>

#include <string>

#include "platform/spooler/PrintSpooler.h"

namespace korventa {

// Name without a "_borderless" suffix; size in tenths of a millimetre, rounded half up. A size
// that queue descriptions give in whole points (A4 as 20990 x 29704 hundredths) is snapped to
// the standard size its name spells, when that lies within 1 mm of the reported one.
[[nodiscard]] PaperSize paperFromCups(const cups_size_t& size);

// The standard media name for a standard, legacy ("A4") or queue-description ("Letter") name;
// empty when the name is none of these.
[[nodiscard]] std::string standardMediaName(const std::string& name);

}  // namespace korventa
