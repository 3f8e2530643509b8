#include "print/PrintingSlot.h"

#include <thread>

namespace korventa {

PrintingSlot::PrintingSlot(WStringView instanceId)
    : name_(WString(u"SemaVELTKORVENTAPrinting") + WString(instanceId)) {}

bool PrintingSlot::take(std::chrono::milliseconds timeout) {
    if (!held_) {
        held_ = true;
        return true;
    }
    std::this_thread::sleep_for(timeout);
    return false;
}

}  // namespace korventa
