// What the print completion asks of the driver: prepare a job key for a job of a printer and
// hand a written job to the post-processing. LibraryJobDriver calls the driver's library;
// tests fake it. Called on the window thread.
#pragma once

#include <cstdint>

#include "core/Text.h"

namespace korventa {

class JobDriver {
public:
    virtual ~JobDriver() = default;
    // The driver's result: 0 or more when the job key (prefix + number) was prepared.
    [[nodiscard]] virtual std::int32_t prepareJob(WStringView printerName, WStringView jobPrefix,
                                                  WStringView documentText,
                                                  std::uint32_t jobNumber) = 0;
    // Returns at once; the post-processing runs on without the caller.
    virtual void handOff(WStringView jobKeyName) = 0;
};

}  // namespace korventa
