// The lines of a batch run, in input order: an item's line follows when the driver has
// recorded its job (or at once for an item that failed before), with a progress bar on
// `progress` when given. Borrows the streams; main thread.
#pragma once

#include <cstdio>
#include <deque>
#include <string>

#include "core/Text.h"

namespace korventa {

class BatchReport {
public:
    BatchReport(std::FILE* out, std::FILE* progress, std::size_t items);

    void addJob(const std::string& label, const WString& jobKey);
    void addFailure(const std::string& label, const std::string& reason);
    // Writes the lines whose turn has come; a job whose worker has ended without a record is
    // reported as such rather than waited for.
    void flush();

    [[nodiscard]] bool isDone() const { return waiting_.empty(); }
    [[nodiscard]] int failures() const { return failures_; }
    // Invoices delivered although they failed their schema or rules.
    [[nodiscard]] int invalidInvoices() const { return invalid_; }

private:
    void showProgress() const;

    struct Line {
        std::string label;
        std::string text;  // empty while the driver has not recorded the job
        WString jobKey;
    };
    std::FILE* out_;
    std::FILE* progress_;
    std::size_t items_;
    std::deque<Line> waiting_;
    std::size_t reported_ = 0;
    int failures_ = 0;
    int invalid_ = 0;
};

// Why a print has no job: the driver prepared none for the printer, or could not, because the
// user hive it keeps its jobs in is damaged (then named).
[[nodiscard]] std::string noJobReason(const WString& printerName);

}  // namespace korventa
