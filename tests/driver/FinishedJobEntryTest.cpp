// When the converter may take a job's finished entry as final: only once post-processing can no
// longer be writing it, and never mistaking a hive it cannot read for a job without result.
#include "driver/FinishedJobEntry.h"

#include <gtest/gtest.h>

#include "driver/HiveWriter.h"
#include "support/TempDir.h"

namespace korventa {
namespace {

constexpr WStringView kJob = u"KORVENTAJob\\Inst001\\101";

void recordResult() {
    test::putText(test::userHive(), finishedEntryPath(kJob), u"Result", u"OK");
}

FinishedJobState poll(bool running, SettingsMap& values, reg::RegStatus& status) {
    return pollFinishedJob(kJob, [running] { return running; }, values, status);
}

TEST(PollFinishedJob, WorkerEndingJustBeforeTheReadCountsAsRecorded) {
    test::ScopedHives hives;
    SettingsMap values;
    reg::RegStatus status = reg::RegStatus::IoError;
    // The last worker writes the entry and ends while it is being asked about.
    const auto workerEndsNow = [] {
        recordResult();
        return false;
    };
    EXPECT_EQ(pollFinishedJob(kJob, workerEndsNow, values, status), FinishedJobState::Recorded);
    EXPECT_EQ(values[u"Result"], u"OK");
}

TEST(PollFinishedJob, WaitsWhileRunningAndIsMissingOnlyAfterTheEnd) {
    test::ScopedHives hives;
    SettingsMap values;
    reg::RegStatus status = reg::RegStatus::Ok;
    EXPECT_EQ(poll(true, values, status), FinishedJobState::Pending);
    EXPECT_EQ(poll(false, values, status), FinishedJobState::Missing);
    recordResult();
    EXPECT_EQ(poll(true, values, status), FinishedJobState::Recorded);
}

TEST(PollFinishedJob, DamagedHiveIsUnreadableNotMissing) {
    test::ScopedHives hives;
    hives.dir().writeFile("user.db", std::string(4096, 'x'));
    SettingsMap values;
    reg::RegStatus status = reg::RegStatus::Ok;
    EXPECT_EQ(poll(true, values, status), FinishedJobState::Pending);
    EXPECT_EQ(poll(false, values, status), FinishedJobState::Unreadable);
    EXPECT_EQ(status, reg::RegStatus::BadHive);
}

}  // namespace
}  // namespace korventa
