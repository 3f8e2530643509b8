// Where the driver records what became of a job, as the converter and the driver agree on it:
// DriverRegistryRoot + "Finished\" + the job key name with its backslashes flattened to "_",
// in the user's hive, with "Result" ("OK" or "Failed: reason"), "OutputPDF" and, when there
// are any, "OutputXML", "OutputEmail", "InvoiceError" and "EmailError"; for an invoice also
// "InvoiceCheck" ("valid", "invalid" or "not checked": a delivered invoice may still be
// invalid), "InvoiceCheckRules" and "InvoiceCheckWarnings" (one "ID: text" a line) and
// "InvoiceCheckReport" (the report's path beside the PDF). Stateless; any thread.
#pragma once

#include "core/SettingsMap.h"
#include "core/Text.h"

namespace korventa {

inline constexpr WStringView FinishedListName = u"Finished";

// "KORVENTAJob\Inst001\101" gives "KORVENTAJob_Inst001_101".
[[nodiscard]] WString finishedEntryName(WStringView jobKeyName);
// The entry's key path in the user's hive.
[[nodiscard]] WString finishedEntryPath(WStringView jobKeyName);
// The entry's values; empty when the driver has recorded nothing for the job.
[[nodiscard]] SettingsMap readFinishedJob(WStringView jobKeyName);

}  // namespace korventa
