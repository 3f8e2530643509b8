#include "driver/DriverPrinters.h"

#include <vector>

#include "driver/DriverNames.h"

namespace korventa {

std::set<WString> EnumDriverPrinters(PrintSpooler& spooler) {
    std::set<WString> names;
    std::vector<PrinterInfo> printers;
    if (!spooler.localPrinters(printers)) return names;
    for (const auto& printer : printers) {
        if (printer.makeAndModel == DriverProductName) names.insert(printer.name);
    }
    return names;
}

}  // namespace korventa
