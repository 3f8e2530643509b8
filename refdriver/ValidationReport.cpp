#include "refdriver/ValidationReport.h"

#include <vector>

namespace korventa::refdriver {
namespace {

void appendList(std::string& text, const char* title, const std::vector<std::string>& lines) {
    text += "\n";
    text += title;
    text += " (" + std::to_string(lines.size()) + "):\n";
    if (lines.empty()) text += "  none\n";
    for (const auto& line : lines) text += "  " + line + "\n";
}

}  // namespace

std::string validationReport(const ReportSubject& subject, const InvoiceFindings& findings) {
    std::string text = "Invoice check: " + std::string(verdictName(findings.verdict)) + "\n\n";
    text += "Document:       " + subject.document + "\n";
    text += "Invoice XML:    " + subject.xmlSource + "\n";
    text += "Guideline ID:   " + (subject.guideline.empty() ? "(none)" : subject.guideline) + "\n";
    if (!subject.requested.empty()) text += "Page asked for: " + subject.requested + "\n";
    text += "Profile:        " + subject.profile.conformanceLevel + " (embedded as " +
            subject.profile.fileName + ", relationship " + subject.profile.relationship + ")\n";
    text += "Schema:         " + findings.schemaOutcome + "\n";
    text += "EN 16931 rules: " + findings.rulesOutcome + "\n";
    appendList(text, "Errors", findings.errors);
    appendList(text, "Warnings", findings.warnings);
    return text;
}

}  // namespace korventa::refdriver
