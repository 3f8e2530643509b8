// What became of one job, as the window tells the user: read from the driver's finished
// entry (where the PDF went, or why it failed, and the invoice check's verdict when the
// driver checked one). A plain value built by a pure function; any thread.
#pragma once

#include <vector>

#include "core/SettingsMap.h"
#include "core/Text.h"

namespace korventa {

struct JobOutcome {
    enum class Kind { Delivered, Failed };
    Kind kind = Kind::Failed;
    WString headline;       // one line: where the PDF went, or why there is none
    WString pdfPath;        // empty unless delivered
    WString invoiceCheck;   // "valid", "invalid", "not checked", or empty when not recorded
    WString reportPath;     // the invoice check's full report; may be empty
    std::vector<WString> details;  // failed rules, warnings and side notes, one per entry

    // The entry's values ("Result", "OutputPDF", "OutputEmail", "InvoiceError", "EmailError",
    // "InvoiceCheck", "InvoiceCheckRules", "InvoiceCheckWarnings", "InvoiceCheckReport").
    // An entry without a result is a job the driver recorded nothing for.
    [[nodiscard]] static JobOutcome fromFinishedEntry(const SettingsMap& entry);
};

}  // namespace korventa
