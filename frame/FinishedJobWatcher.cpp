#include "frame/FinishedJobWatcher.h"

#include "driver/FinishedJobEntry.h"
#include "print/PostActionWorker.h"

namespace korventa {
namespace {

constexpr int kTickMs = 200;

WString sequenceOf(const SettingsMap& entry) {
    const auto found = entry.find(u"Sequence");
    return found == entry.end() ? WString() : found->second;
}

}  // namespace

FinishedJobWatcher::FinishedJobWatcher(QObject* parent) : QObject(parent) {
    ticker_.setInterval(kTickMs);
    connect(&ticker_, &QTimer::timeout, this, &FinishedJobWatcher::handleTick);
}

void FinishedJobWatcher::expect(const WString& jobKeyName) {
    expectedKeyName_ = jobKeyName;
    // An entry that cannot be read leaves nothing to mistake for the coming job's.
    SettingsMap entry;
    static_cast<void>(readFinishedJob(jobKeyName, entry));
    staleSequence_ = sequenceOf(entry);
}

void FinishedJobWatcher::watch(const WString& jobKeyName) {
    if (jobKeyName != expectedKeyName_)
        staleSequence_.clear();
    jobKeyName_ = jobKeyName;
    ticker_.start();
}

void FinishedJobWatcher::handleTick() {
    // Looked at before the entry: a worker that ends in between has written it already.
    const bool workersDone = runningPostActions() == 0;
    SettingsMap entry;
    const reg::RegStatus status = readFinishedJob(jobKeyName_, entry);
    const bool stale = !staleSequence_.empty() && sequenceOf(entry) == staleSequence_;
    if (stale)
        entry.clear();
    if (!entry.contains(u"Result") && !workersDone)
        return;
    ticker_.stop();
    if (status != reg::RegStatus::Ok && status != reg::RegStatus::NotFound)
        entry.insert_or_assign(WString(u"Result"),
                               u"Failed: the driver's record cannot be read: " +
                                   fromUtf8(reg::describe(status)));
    emit jobFinished(JobOutcome::fromFinishedEntry(entry));
}

}  // namespace korventa
