#include "platform/spooler/CachingSpooler.h"

#include <utility>

namespace korventa {

CachingSpooler::CachingSpooler(PrintSpooler& inner, std::chrono::milliseconds maxAge, Clock clock)
    : inner_(inner), maxAge_(maxAge), clock_(std::move(clock)) {}

template <class Value, class Ask>
bool CachingSpooler::recall(Memory<Value>& memory, WStringView key, Value& out, Ask ask) {
    const auto now = clock_();
    const auto found = memory.find(key);
    if (found != memory.end() && now - found->second.asked < maxAge_) {
        out = found->second.value;
        return true;
    }
    if (!ask(out))
        return false;
    memory.insert_or_assign(WString(key), Kept<Value>{out, now});
    return true;
}

bool CachingSpooler::localPrinters(std::vector<PrinterInfo>& out) {
    return recall(printers_, {}, out,
                  [this](std::vector<PrinterInfo>& answer) { return inner_.localPrinters(answer); });
}

// Only a queue that is there is remembered: "no" may also mean the scheduler did not answer.
bool CachingSpooler::hasPrinter(WStringView name) {
    bool present = false;
    return recall(present_, name, present,
                  [this, name](bool& answer) { return answer = inner_.hasPrinter(name); });
}

bool CachingSpooler::queuePapers(WStringView printer, QueuePapers& out) {
    return recall(papers_, printer, out, [this, printer](QueuePapers& answer) {
        return inner_.queuePapers(printer, answer);
    });
}

bool CachingSpooler::setDefaultPaper(WStringView printer, WStringView paperName) {
    printers_.clear();
    present_.clear();
    papers_.clear();
    return inner_.setDefaultPaper(printer, paperName);
}

}  // namespace korventa
