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

// The driver queue a printer setting means: the queue it names, compared as the spooler
// compares queue names (ASCII letter case ignored). The product name, which a CUPS queue can
// never have (it has blanks), otherwise stands for the first of the driver's queues. A name
// that finds nothing comes back as it is.
[[nodiscard]] WString resolveDriverPrinter(WStringView setting,
                                           const std::set<WString>& driverQueues);

}  // namespace korventa
