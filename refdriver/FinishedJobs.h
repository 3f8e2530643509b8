// The list of finished jobs in the user's hive, so a caller can find what became of its job:
// DriverRegistryRoot + "Finished\" holds one subkey per job key name (backslashes flattened
// to "_") with "OutputPDF", "OutputXML", "OutputEmail", "Result", "InvoiceError",
// "EmailError", "InvoiceCheck", "InvoiceCheckRules", "InvoiceCheckWarnings",
// "InvoiceCheckReport" (each only when not empty) and "Sequence", plus "Order" (the
// entries' names, oldest first, one a line) and "LastSequence" on the list key itself. At
// most MaxFinishedJobs entries stay. Writers of several threads and processes take turns
// through a lock file beside the hive, so the read of the list and its change in one
// transaction see no other writer in between. Stateless; any thread.
#pragma once

#include <cstddef>

#include "core/Text.h"
#include "platform/registry/RegStatus.h"

namespace korventa::refdriver {

inline constexpr std::size_t MaxFinishedJobs = 100;

struct FinishedJob {
    WString outputPdf;
    WString outputXml;
    WString outputEmail;
    WString result;
    WString invoiceError;
    WString emailError;
    WString invoiceCheck;          // "valid", "invalid" or "not checked"; empty without invoice
    WString invoiceCheckRules;     // failed rules, "ID: text" one a line
    WString invoiceCheckWarnings;  // one a line
    WString invoiceCheckReport;    // the report's path beside the PDF
};

// Replaces the job's entry, prunes the oldest beyond the bound and, when `removeJobKey`, deletes
// the job key, all in one transaction.
[[nodiscard]] reg::RegStatus recordFinishedJob(WStringView jobKeyName, const FinishedJob& job,
                                               bool removeJobKey);

}  // namespace korventa::refdriver
