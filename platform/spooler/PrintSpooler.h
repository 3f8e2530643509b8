// The print spooler as the converter and the driver glue see it: local queues, their papers
// and the user's default paper. The CUPS implementation is CupsSpooler; tests use fakes.
// Calls may block for a bounded time (a few seconds at most) and run on the calling thread.
#pragma once

#include <optional>
#include <vector>

#include "core/Text.h"

namespace korventa {

struct PrinterInfo {
    WString name;
    WString makeAndModel;  // the queue's driver name, exactly as the spooler reports it
};

struct PaperSize {
    WString name;     // the spooler's media name, e.g. "iso_a4_210x297mm"
    int width = 0;    // tenths of a millimetre
    int height = 0;   // tenths of a millimetre
};

struct QueuePapers {
    std::vector<PaperSize> supported;  // empty when the list cannot be read completely
    std::optional<PaperSize> current;  // the user's default when set, else the queue's
};

class PrintSpooler {
public:
    virtual ~PrintSpooler() = default;

    // Local queues only: no remote or discovered printers. False when the spooler cannot be
    // asked (scheduler down or not answering); `out` is then empty.
    [[nodiscard]] virtual bool localPrinters(std::vector<PrinterInfo>& out) = 0;
    // The OpenPrinter counterpart: true when a local queue of that exact name exists.
    [[nodiscard]] virtual bool hasPrinter(WStringView name) = 0;
    // The queue's papers and the one a print lays out on now, from one look at the queue
    // (every print asks); false for an unknown queue.
    [[nodiscard]] virtual bool queuePapers(WStringView printer, QueuePapers& out) = 0;
    // Stores `paperName` as the user's default paper for the queue.
    [[nodiscard]] virtual bool setDefaultPaper(WStringView printer, WStringView paperName) = 0;
};

}  // namespace korventa
