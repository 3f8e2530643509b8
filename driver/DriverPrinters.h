// Discovery of the driver's print queues: the local queues whose make-and-model is exactly
// the driver's product name. Blocks for as long as the spooler takes to answer; keep it off
// the window thread when the spooler may hang.
#pragma once

#include <set>

#include "core/Text.h"
#include "platform/spooler/PrintSpooler.h"

namespace korventa {

// Sorted by UTF-16 code units, without duplicates; empty when the spooler cannot be asked.
[[nodiscard]] std::set<WString> EnumDriverPrinters(PrintSpooler& spooler);

}  // namespace korventa
