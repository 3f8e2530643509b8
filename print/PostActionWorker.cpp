#include "print/PostActionWorker.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <new>
#include <system_error>
#include <thread>

#include "driver/DriverNames.h"

namespace korventa {
namespace {

std::atomic<int> running{0};

}  // namespace

int runningPostActions() {
    return running.load();
}

void HandOffJob(const DriverLibrary& driver, WStringView jobKeyName) {
    auto block = std::unique_ptr<PostActionBlock>(new (std::nothrow) PostActionBlock);
    if (!block) return;
    const std::size_t length = std::min(jobKeyName.size(), MaxJobKeyNameLength);
    std::copy_n(jobKeyName.data(), length, block->jobKeyName);
    ++running;
    try {
        std::thread([block = std::move(block), library = driver]() mutable {
            PostActionWorker(*block, library);
            // Once the count reaches zero the library may be unloaded: this thread's share of
            // it must already be gone.
            block.reset();
            library = DriverLibrary();
            --running;
        }).detach();
    } catch (const std::system_error&) {
        // No thread: the job stays as written, without post-processing.
        --running;
    }
}

int PostActionWorker(const PostActionBlock& block, const DriverLibrary& driver) {
    (void)driver.DEXU_PostActionProc(block.jobKeyName, block.second);
    return 0;
}

}  // namespace korventa
