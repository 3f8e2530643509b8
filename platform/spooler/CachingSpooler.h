// Another spooler's answers, kept for a short while for a caller that asks about the same queue
// at every print (the batch converter): within `maxAge` a question asked before is answered
// from memory, so a long run asks the scheduler about once per `maxAge` instead of several
// times per print, and still sees a changed queue soon after. A failed answer is never kept;
// storing a default paper forgets everything. Borrows the wrapped spooler; one thread at a
// time, like the spoolers it wraps.
#pragma once

#include <chrono>
#include <functional>
#include <map>

#include "platform/spooler/PrintSpooler.h"

namespace korventa {

class CachingSpooler final : public PrintSpooler {
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    CachingSpooler(PrintSpooler& inner, std::chrono::milliseconds maxAge,
                   Clock clock = &std::chrono::steady_clock::now);

    [[nodiscard]] bool localPrinters(std::vector<PrinterInfo>& out) override;
    [[nodiscard]] bool hasPrinter(WStringView name) override;
    [[nodiscard]] bool queuePapers(WStringView printer, QueuePapers& out) override;
    [[nodiscard]] bool setDefaultPaper(WStringView printer, WStringView paperName) override;

private:
    template <class Value>
    struct Kept {
        Value value;
        std::chrono::steady_clock::time_point asked;
    };
    template <class Value>
    using Memory = std::map<WString, Kept<Value>, std::less<>>;

    // `out` from memory when it is young enough, else from `ask`, which is remembered when it
    // succeeds; an aged answer left behind by a failure is asked again next time anyway.
    template <class Value, class Ask>
    [[nodiscard]] bool recall(Memory<Value>& memory, WStringView key, Value& out, Ask ask);

    PrintSpooler& inner_;
    std::chrono::milliseconds maxAge_;
    Clock clock_;
    Memory<std::vector<PrinterInfo>> printers_;  // one entry, under the empty key
    Memory<bool> present_;
    Memory<QueuePapers> papers_;
};

}  // namespace korventa
