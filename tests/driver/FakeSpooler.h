// A spooler with a fixed list of local queues, or one that cannot be asked at all.
// Header-only; the test's thread.
#pragma once

#include <algorithm>
#include <utility>
#include <vector>

#include "platform/spooler/PrintSpooler.h"

namespace korventa::test {

class FakeSpooler : public PrintSpooler {
public:
    explicit FakeSpooler(std::vector<PrinterInfo> printers, bool answers = true)
        : printers_(std::move(printers)), answers_(answers) {}

    bool localPrinters(std::vector<PrinterInfo>& out) override {
        out = answers_ ? printers_ : std::vector<PrinterInfo>{};
        return answers_;
    }
    bool hasPrinter(WStringView name) override {
        return answers_ && std::any_of(printers_.begin(), printers_.end(),
                                       [name](const PrinterInfo& p) { return p.name == name; });
    }
    bool queuePapers(WStringView, QueuePapers&) override { return false; }
    bool setDefaultPaper(WStringView, WStringView) override { return false; }

private:
    std::vector<PrinterInfo> printers_;
    bool answers_;
};

}  // namespace korventa::test
