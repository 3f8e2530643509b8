#include "batch/BatchReport.h"

#include "driver/FinishedJobEntry.h"
#include "print/PostActionWorker.h"

namespace korventa {
namespace {

constexpr std::size_t kProgressFrom = 4;  // items; fewer need no bar
constexpr int kBarWidth = 30;

// The line of a job the driver has recorded (or failed to record).
std::string outcomeText(SettingsMap& result, const WString& jobKey) {
    const WString outcome = result[u"Result"];
    if (outcome.empty())
        return "failed: the driver recorded no result for " + toUtf8(jobKey);
    if (outcome != u"OK")
        return "failed: " + toUtf8(outcome);
    std::string text = toUtf8(result[u"OutputPDF"]);
    if (!result[u"OutputEmail"].empty())
        text += " (e-mail draft: " + toUtf8(result[u"OutputEmail"]) + ")";
    if (!result[u"InvoiceError"].empty())
        text += " (invoice XML not embedded: " + toUtf8(result[u"InvoiceError"]) + ")";
    return text;
}

}  // namespace

BatchReport::BatchReport(std::FILE* out, std::FILE* progress, std::size_t items)
    : out_(out), progress_(items >= kProgressFrom ? progress : nullptr), items_(items) {}

void BatchReport::addJob(const std::string& label, const WString& jobKey) {
    waiting_.push_back({label, {}, jobKey});
}

void BatchReport::addFailure(const std::string& label, const std::string& reason) {
    waiting_.push_back({label, "failed: " + reason, {}});
}

void BatchReport::flush() {
    while (!waiting_.empty()) {
        Line& line = waiting_.front();
        if (line.text.empty()) {
            SettingsMap result = readFinishedJob(line.jobKey);
            const WString outcome = result[u"Result"];
            if (outcome.empty() && runningPostActions() > 0)
                return;
            line.text = outcomeText(result, line.jobKey);
        }
        if (line.text.starts_with("failed: "))
            ++failures_;
        std::fprintf(out_, "%s: %s\n", line.label.c_str(), line.text.c_str());
        std::fflush(out_);
        waiting_.pop_front();
        ++reported_;
        showProgress();
    }
}

void BatchReport::showProgress() const {
    if (progress_ == nullptr)
        return;
    const auto done = static_cast<int>(reported_ * kBarWidth / items_);
    std::fprintf(progress_, "\r[%s%s] %zu/%zu%s",
                 std::string(static_cast<std::size_t>(done), '#').c_str(),
                 std::string(static_cast<std::size_t>(kBarWidth - done), '.').c_str(), reported_,
                 items_, reported_ == items_ ? "\n" : "");
    std::fflush(progress_);
}

}  // namespace korventa
