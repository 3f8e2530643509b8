#include "batch/BatchReport.h"

#include <sstream>
#include <vector>

#include "driver/FinishedJobEntry.h"
#include "platform/registry/RegistryHive.h"
#include "print/PostActionWorker.h"

namespace korventa {
namespace {

constexpr std::size_t kProgressFrom = 4;  // items; fewer need no bar
constexpr int kBarWidth = 30;

constexpr std::size_t kRulesNamed = 4;

std::vector<std::string> linesOf(const WString& text) {
    std::vector<std::string> lines;
    std::string line;
    std::istringstream in(toUtf8(text));
    while (std::getline(in, line))
        lines.push_back(line);
    return lines;
}

// "BR-S-05: text; also BR-S-08, BR-CO-10 and 2 more": the first failed rule in full, the next
// few by their IDs.
std::string failedRules(const WString& rules) {
    const std::vector<std::string> lines = linesOf(rules);
    if (lines.empty())
        return "the invoice failed its checks";
    std::string text = lines.front();
    for (std::size_t i = 1; i < lines.size() && i < kRulesNamed; ++i)
        text += (i == 1 ? "; also " : ", ") + lines[i].substr(0, lines[i].find(':'));
    if (lines.size() > kRulesNamed)
        text += " and " + std::to_string(lines.size() - kRulesNamed) + " more";
    return text;
}

// What the driver's invoice check says, for a delivered invoice's line.
std::string checkText(SettingsMap& result) {
    const WString verdict = result[u"InvoiceCheck"];
    if (verdict == u"valid")
        return " (invoice checked: valid)";
    if (verdict == u"not checked") {
        const std::vector<std::string> warnings = linesOf(result[u"InvoiceCheckWarnings"]);
        return " (invoice not checked" + (warnings.empty() ? "" : ": " + warnings.back()) + ")";
    }
    return {};
}

// The line of a job the driver has recorded (or failed to record).
std::string outcomeText(SettingsMap& result, const WString& jobKey) {
    const WString outcome = result[u"Result"];
    if (outcome.empty())
        return "failed: the driver recorded no result for " + toUtf8(jobKey);
    if (outcome != u"OK")
        return "failed: " + toUtf8(outcome);
    std::string text = toUtf8(result[u"OutputPDF"]);
    // The draft was what the e-mail job was for; the PDF it would have carried is named.
    if (!result[u"EmailError"].empty())
        return "failed: the e-mail draft was not written: " + toUtf8(result[u"EmailError"]) +
               " (the PDF is " + text + ")";
    if (!result[u"OutputEmail"].empty())
        text += " (e-mail draft: " + toUtf8(result[u"OutputEmail"]) + ")";
    if (!result[u"InvoiceError"].empty())
        text += " (invoice XML not embedded: " + toUtf8(result[u"InvoiceError"]) + ")";
    if (result[u"InvoiceCheck"] == u"invalid") {
        return "invalid: " + failedRules(result[u"InvoiceCheckRules"]) + " (delivered: " + text +
               "; report: " + toUtf8(result[u"InvoiceCheckReport"]) + ")";
    }
    return text + checkText(result);
}

// False while the job's post-processing may still be running.
bool takeOutcome(const WString& jobKey, std::string& text) {
    SettingsMap result;
    reg::RegStatus status = reg::RegStatus::Ok;
    switch (pollFinishedJob(jobKey, [] { return runningPostActions() > 0; }, result, status)) {
        case FinishedJobState::Pending:
            return false;
        case FinishedJobState::Unreadable:
            text = "failed: the driver's record of " + toUtf8(jobKey) + " cannot be read from " +
                   reg::RegistryHive::local(reg::RootKey::CurrentUser).path() + ": " +
                   reg::describe(status);
            return true;
        case FinishedJobState::Recorded:
        case FinishedJobState::Missing:
            text = outcomeText(result, jobKey);
            return true;
    }
    return true;
}

}  // namespace

std::string noJobReason(const WString& printerName) {
    const reg::RegistryHive hive = reg::RegistryHive::local(reg::RootKey::CurrentUser);
    if (hive.isDamaged())
        return "the user hive " + hive.path() + " is damaged, so no job can be prepared in it";
    return "the driver prepared no job for the printer \"" + toUtf8(printerName) + "\"";
}

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
        if (line.text.empty() && !takeOutcome(line.jobKey, line.text))
            return;
        if (line.text.starts_with("failed: "))
            ++failures_;
        if (line.text.starts_with("invalid: "))
            ++invalid_;
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
