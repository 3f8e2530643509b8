// The printer record handed to the driver's DocGetDocInfo2, owned for the length of one call:
// the counterpart of opening a printer for use. Opening asks the spooler whether the queue
// exists; the record and the name it points at live on the heap, so moving keeps the handle
// valid. Any thread; one object per call.
#pragma once

#include <memory>

#include "core/Text.h"
#include "driver/DriverAbi.h"
#include "platform/spooler/PrintSpooler.h"

namespace korventa {

class DriverPrinter {
public:
    DriverPrinter();
    ~DriverPrinter();
    DriverPrinter(DriverPrinter&&) noexcept;
    DriverPrinter& operator=(DriverPrinter&&) noexcept;

    // False, leaving `out` closed, for a queue the spooler does not know.
    [[nodiscard]] static bool open(PrintSpooler& spooler, WStringView name, DriverPrinter& out);

    [[nodiscard]] bool isOpen() const { return record_ != nullptr; }
    // Null while closed.
    [[nodiscard]] VeltPrinterHandle handle() const;

private:
    struct Record;
    std::unique_ptr<Record> record_;
};

}  // namespace korventa
