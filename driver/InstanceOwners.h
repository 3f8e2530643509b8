// Who holds which instance number among all converters that share one user hive, whatever
// their runtime folder: one lock file per number in a private folder beside the hive. The
// holder keeps the file flocked and writes its owner token into it; the driver reads the
// files to tell a live job from one left by a holder that has gone. Stateless; any thread.
#pragma once

#include <string>

#include "core/Text.h"

namespace korventa {

class InstanceOwners {
public:
    // "<hive path>.instances".
    [[nodiscard]] static std::string folderFor(const std::string& hivePath);
    // The folder of the current user's hive, created 0700 with any missing parents. Empty
    // unless it is a real folder of this user that no one else may enter.
    [[nodiscard]] static std::string userFolder();
    // "SemaVELTKORVENTAInstance.007.lock" for number 7.
    [[nodiscard]] static std::string lockFileName(unsigned number);
    // The owner token of the process that holds `number` now; empty when nobody holds it
    // (or its file cannot be read).
    [[nodiscard]] static std::string liveToken(const std::string& folder, unsigned number);
    // The instance number a converter's job prefix names; 0 for any other prefix.
    [[nodiscard]] static unsigned numberOfJobPrefix(WStringView prefix);
};

}  // namespace korventa
