// Clears what jobs that will never finish left behind. A job key under a converter's instance
// whose owner token is not that of the instance number's live holder belongs to a program
// that ended or was killed first (or to a failed job it kept for inspection): the key goes,
// with the folder it names and an instance key left empty. A job folder no key names and that
// nothing has touched for an hour goes too (a job whose key was replaced left it). A PDF in a
// folder that goes is moved first to "Undelivered" in the destination folder, under the job's
// title. Run once when a program sets the driver up; stateless; any thread.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>

namespace korventa::refdriver {

struct SweepOutcome {
    std::size_t jobs = 0;     // job keys and unnamed folders cleared
    std::size_t rescued = 0;  // PDFs moved to `undelivered`
    std::string undelivered;  // where they went
};

inline constexpr std::chrono::hours UnnamedFolderAge{1};

[[nodiscard]] SweepOutcome sweepAbandonedJobs();

}  // namespace korventa::refdriver
