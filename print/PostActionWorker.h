// The hand-off of a written job to the driver's post-processing: one detached thread per job
// that calls DEXU_PostActionProc with the job key name and an empty second text, and ends.
// The thread owns its block and its own copy of the driver library, so the library stays
// loaded while the call runs even when the window has closed; nobody waits for the thread.
#pragma once

#include "core/Text.h"
#include "driver/DriverLibrary.h"

namespace korventa {

// Copies of the texts the worker passes, each with its terminating NUL.
struct PostActionBlock {
    char16_t jobKeyName[64] = {};
    char16_t second[64] = {};
};

// Never blocks. A thread that cannot be started leaves the job unprocessed, silently.
void HandOffJob(const DriverLibrary& driver, WStringView jobKeyName);
// How many workers of this process are still inside the driver's post-processing; lets a
// caller that must not end before its jobs are finished wait for them.
[[nodiscard]] int runningPostActions();
// The thread's body: the driver's result is not used; success and failure end alike.
int PostActionWorker(const PostActionBlock& block, const DriverLibrary& driver);

}  // namespace korventa
