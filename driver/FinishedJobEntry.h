// Where the driver records what became of a job, as the converter and the driver agree on it:
// DriverRegistryRoot + "Finished\" + the job key name with its backslashes flattened to "_",
// in the user's hive, with "Result" ("OK" or "Failed: reason"), "OutputPDF" and, when there
// are any, "OutputXML", "OutputEmail", "InvoiceError" and "EmailError"; for an invoice also
// "InvoiceCheck" ("valid", "invalid" or "not checked": a delivered invoice may still be
// invalid), "InvoiceCheckRules" and "InvoiceCheckWarnings" (one "ID: text" a line) and
// "InvoiceCheckReport" (the report's path beside the PDF). Stateless; any thread.
#pragma once

#include <functional>

#include "core/SettingsMap.h"
#include "core/Text.h"
#include "platform/registry/RegStatus.h"

namespace korventa {

inline constexpr WStringView FinishedListName = u"Finished";

// "KORVENTAJob\Inst001\101" gives "KORVENTAJob_Inst001_101".
[[nodiscard]] WString finishedEntryName(WStringView jobKeyName);
// The entry's key path in the user's hive.
[[nodiscard]] WString finishedEntryPath(WStringView jobKeyName);
// Adds the entry's values to `values`. NotFound when the driver has recorded nothing for the
// job; any other failure means the hive could not say, not that the job has no result.
[[nodiscard]] reg::RegStatus readFinishedJob(WStringView jobKeyName, SettingsMap& values);

enum class FinishedJobState {
    Pending,     // post-processing may still write the entry: ask again later
    Recorded,    // `values` holds the entry
    Missing,     // post-processing has ended without recording the job
    Unreadable,  // post-processing has ended and the hive cannot be read (`status` says why)
};

// One look at a job handed to post-processing. `postProcessing` tells whether any of it is
// still running; it is asked before the entry is read, so a worker that ends in between has
// written its entry by the time the entry is read.
[[nodiscard]] FinishedJobState pollFinishedJob(WStringView jobKeyName,
                                               const std::function<bool()>& postProcessing,
                                               SettingsMap& values, reg::RegStatus& status);

}  // namespace korventa
