// Keeps page commands from taking over job values the program owns. A page may name the
// job's own files ("JobTempPDF", "JobSrcPDFName", "JobTempPath"), which would point the
// driver at files of the page's choosing; and "AnnZUGFeRD" and "AnnZUGXDoc" attach files by
// path, which only a page from the local disk may ask for. Pure function; any thread.
#pragma once

#include "core/SettingsMap.h"

namespace korventa {

// Names compare without regard to ASCII case, as the job record's value names do.
// pageAddress is the address of the document that sent the commands: a "file:" URL (any
// case) or an absolute local path counts as local.
[[nodiscard]] JobCommandMap filterPageCommands(const JobCommandMap& commands,
                                               WStringView pageAddress);

}  // namespace korventa
