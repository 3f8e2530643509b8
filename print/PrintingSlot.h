// The printing slot of one instance: one permit that lets a single scripted conversion be in
// flight, from starting the page scripts until the job is handed to the driver. It is only
// ever used on the window thread, where a timed wait on a held slot cannot be ended by
// anyone else and so always times out: a flag with the same protocol (a timed take that
// fails after its wait, an idempotent give-back) does the work of a counting semaphore.
#pragma once

#include <chrono>

#include "core/Text.h"

namespace korventa {

class PrintingSlot {
public:
    static constexpr std::chrono::milliseconds kTakeTimeout{100};

    explicit PrintingSlot(WStringView instanceId);

    // "SemaVELTKORVENTAPrinting" followed by the instance id.
    [[nodiscard]] const WString& name() const { return name_; }
    [[nodiscard]] bool isHeld() const { return held_; }

    // True when the slot was free; on a held slot, false once `timeout` has passed.
    [[nodiscard]] bool take(std::chrono::milliseconds timeout = kTakeTimeout);
    // A give-back while the slot is free has no effect (the maximum count is one).
    void giveBack() { held_ = false; }

private:
    WString name_;
    bool held_ = false;
};

}  // namespace korventa
