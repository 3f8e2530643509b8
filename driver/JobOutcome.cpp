#include "driver/JobOutcome.h"

namespace korventa {
namespace {

WString valueOf(const SettingsMap& entry, WStringView name) {
    const auto found = entry.find(WString(name));
    return found == entry.end() ? WString() : found->second;
}

// One detail per non-empty line, each with the prefix.
void addLines(std::vector<WString>& details, WStringView prefix, WStringView text) {
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(u'\n', start);
        if (end == WStringView::npos)
            end = text.size();
        WStringView line = text.substr(start, end - start);
        if (!line.empty() && line.back() == u'\r')
            line.remove_suffix(1);
        if (!line.empty())
            details.push_back(WString(prefix) + WString(line));
        start = end + 1;
    }
}

void addInvoiceCheck(const SettingsMap& entry, JobOutcome& outcome) {
    outcome.invoiceCheck = valueOf(entry, u"InvoiceCheck");
    outcome.reportPath = valueOf(entry, u"InvoiceCheckReport");
    addLines(outcome.details, u"Rule failed: ", valueOf(entry, u"InvoiceCheckRules"));
    addLines(outcome.details, u"Warning: ", valueOf(entry, u"InvoiceCheckWarnings"));
}

}  // namespace

JobOutcome JobOutcome::fromFinishedEntry(const SettingsMap& entry) {
    JobOutcome outcome;
    const WString result = valueOf(entry, u"Result");
    if (result.empty()) {
        outcome.headline = u"The driver recorded nothing for the job.";
        return outcome;
    }
    addInvoiceCheck(entry, outcome);
    if (result != u"OK") {
        const WString prefix = u"Failed: ";
        const WString reason =
            result.starts_with(prefix) ? result.substr(prefix.size()) : result;
        outcome.headline = u"No PDF was made: " + reason;
        return outcome;
    }
    outcome.kind = Kind::Delivered;
    outcome.pdfPath = valueOf(entry, u"OutputPDF");
    outcome.headline = u"PDF saved: " + outcome.pdfPath;
    addLines(outcome.details, u"E-mail draft: ", valueOf(entry, u"OutputEmail"));
    addLines(outcome.details, u"E-mail not prepared: ", valueOf(entry, u"EmailError"));
    addLines(outcome.details, u"Invoice XML not embedded: ", valueOf(entry, u"InvoiceError"));
    return outcome;
}

}  // namespace korventa
