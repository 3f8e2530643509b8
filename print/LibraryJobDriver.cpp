#include "print/LibraryJobDriver.h"

#include "driver/DriverAbi.h"
#include "driver/DriverPrinter.h"
#include "print/PostActionWorker.h"

namespace korventa {

std::int32_t LibraryJobDriver::prepareJob(WStringView printerName, WStringView jobPrefix,
                                          WStringView documentText, std::uint32_t jobNumber) {
    DriverPrinter printer;
    if (!DriverPrinter::open(spooler_, printerName, printer)) return VELT_E_UNAVAILABLE;
    return library_.DocGetDocInfo2(printer, jobPrefix, documentText, jobNumber, true, false);
}

void LibraryJobDriver::handOff(WStringView jobKeyName) { HandOffJob(library_, jobKeyName); }

}  // namespace korventa
