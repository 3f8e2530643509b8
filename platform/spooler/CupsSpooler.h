// The print spooler on the local CUPS scheduler. Every call opens a connection of its own whose
// waits are bounded (connecting and each answer give up after a few seconds), so a scheduler
// that is down or hung holds the caller no longer. No state between calls; use an object on one
// thread at a time, since the library keeps its last error per thread.
#pragma once

#include "platform/spooler/PrintSpooler.h"

namespace korventa {

class CupsSpooler final : public PrintSpooler {
public:
    [[nodiscard]] bool localPrinters(std::vector<PrinterInfo>& out) override;
    [[nodiscard]] bool hasPrinter(WStringView name) override;
    // The current paper is the first that names a paper of the queue: the user's or the
    // queue's `media` option, the `PageSize` option, the scheduler's default. A stale user
    // default thus falls back to the queue's instead of failing.
    [[nodiscard]] bool queuePapers(WStringView printer, QueuePapers& out) override;
    // Accepts only a paper the queue has; stored for the current user ($HOME/.cups/lpoptions),
    // keeping the user's other options. Nothing is written when the scheduler cannot be asked.
    [[nodiscard]] bool setDefaultPaper(WStringView printer, WStringView paperName) override;
};

}  // namespace korventa
