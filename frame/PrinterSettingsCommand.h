// The ribbon's printer settings: for one print queue, the user picks a paper among the
// queue's papers, and OK makes it the user's default for that queue, so the next print lays
// out on it. Holds nothing between calls; window thread (the dialog is modal).
#pragma once

#include <vector>

#include "app/UserPrompts.h"
#include "core/Text.h"
#include "platform/spooler/PrintSpooler.h"

namespace korventa {

// What the dialog lists for the papers: the spooler's names with a readable size,
// e.g. "A4 (210 x 297 mm)".
[[nodiscard]] std::vector<PaperChoice> paperChoices(const std::vector<PaperSize>& papers);

// Nothing is shown for a queue the spooler does not know or that lists no paper; Cancel
// changes nothing. A choice that cannot be stored is reported, since the user confirmed it.
void ShowPrinterSettings(PrintSpooler& spooler, UserPrompts& prompts, WStringView printerName);

}  // namespace korventa
