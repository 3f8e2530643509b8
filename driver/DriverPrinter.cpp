#include "driver/DriverPrinter.h"

namespace korventa {

struct DriverPrinter::Record {
    explicit Record(WStringView printerName) : name(printerName) {
        abi.size = sizeof(VeltPrinter);
        abi.version = VELT_PRINTER_VERSION_1;
        abi.printerName = name.c_str();
    }
    Record(const Record&) = delete;
    Record& operator=(const Record&) = delete;

    WString name;
    VeltPrinter abi{};
};

DriverPrinter::DriverPrinter() = default;
DriverPrinter::~DriverPrinter() = default;
DriverPrinter::DriverPrinter(DriverPrinter&&) noexcept = default;
DriverPrinter& DriverPrinter::operator=(DriverPrinter&&) noexcept = default;

bool DriverPrinter::open(PrintSpooler& spooler, WStringView name, DriverPrinter& out) {
    out.record_.reset();
    if (!spooler.hasPrinter(name)) return false;
    out.record_ = std::make_unique<Record>(name);
    return true;
}

VeltPrinterHandle DriverPrinter::handle() const {
    return record_ ? &record_->abi : nullptr;
}

}  // namespace korventa
