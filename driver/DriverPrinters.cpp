#include "driver/DriverPrinters.h"

#include <algorithm>
#include <vector>

#include "driver/DriverNames.h"

namespace korventa {
namespace {

char16_t foldAscii(char16_t c) {
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

bool sameQueueName(WStringView a, WStringView b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char16_t x, char16_t y) { return foldAscii(x) == foldAscii(y); });
}

}  // namespace

std::set<WString> EnumDriverPrinters(PrintSpooler& spooler) {
    std::set<WString> names;
    std::vector<PrinterInfo> printers;
    if (!spooler.localPrinters(printers)) return names;
    for (const auto& printer : printers) {
        if (printer.makeAndModel == DriverProductName) names.insert(printer.name);
    }
    return names;
}

WString resolveDriverPrinter(WStringView setting, const std::set<WString>& driverQueues) {
    const auto named = std::find_if(driverQueues.begin(), driverQueues.end(),
                                    [setting](const WString& queue) {
                                        return sameQueueName(queue, setting);
                                    });
    if (named != driverQueues.end())
        return *named;
    if (setting == DriverProductName && !driverQueues.empty())
        return *driverQueues.begin();
    return WString(setting);
}

}  // namespace korventa
