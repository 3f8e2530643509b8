// The driver's library behind the print completion: jobs are prepared for a printer the
// spooler knows, through DocGetDocInfo2 with the flags true and false, and handed to a
// post-processing thread of their own. Borrows the library (its copies keep it loaded for
// the workers) and the spooler; window thread.
#pragma once

#include "driver/DriverLibrary.h"
#include "platform/spooler/PrintSpooler.h"
#include "print/JobDriver.h"

namespace korventa {

class LibraryJobDriver final : public JobDriver {
public:
    LibraryJobDriver(const DriverLibrary& library, PrintSpooler& spooler)
        : library_(library), spooler_(spooler) {}

    [[nodiscard]] std::int32_t prepareJob(WStringView printerName, WStringView jobPrefix,
                                          WStringView documentText,
                                          std::uint32_t jobNumber) override;
    void handOff(WStringView jobKeyName) override;

private:
    const DriverLibrary& library_;
    PrintSpooler& spooler_;
};

}  // namespace korventa
