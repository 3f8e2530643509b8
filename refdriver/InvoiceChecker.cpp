#include "refdriver/InvoiceChecker.h"

#include "refdriver/SvrlFindings.h"

namespace korventa::refdriver {
namespace {

// MINIMUM and BASIC WL carry too little to be an EN 16931 invoice; their schema is all there is.
bool claimsEn16931(const InvoiceProfile& profile) {
    return profile.conformanceLevel != "MINIMUM" && profile.conformanceLevel != "BASIC WL";
}

std::string countOf(std::size_t count, const char* what) {
    return std::to_string(count) + " " + what + (count == 1 ? "" : "s");
}

}  // namespace

const char* verdictName(InvoiceVerdict verdict) {
    switch (verdict) {
        case InvoiceVerdict::Valid:
            return "valid";
        case InvoiceVerdict::Invalid:
            return "invalid";
        case InvoiceVerdict::NotChecked:
            return "not checked";
    }
    return "not checked";
}

InvoiceFindings InvoiceChecker::check(std::string_view xml, const InvoiceProfile& profile) {
    InvoiceFindings found;
    const bool schemaRan = checkSchema(xml, profile, found);
    bool rulesRan = true;
    if (claimsEn16931(profile)) {
        rulesRan = checkRules(xml, found);
    } else {
        found.rulesOutcome = "not applicable to the " + profile.conformanceLevel + " profile";
    }
    if (!found.errors.empty()) {
        found.verdict = InvoiceVerdict::Invalid;
    } else {
        found.verdict = schemaRan && rulesRan ? InvoiceVerdict::Valid : InvoiceVerdict::NotChecked;
    }
    return found;
}

bool InvoiceChecker::checkSchema(std::string_view xml, const InvoiceProfile& profile,
                                 InvoiceFindings& found) {
    const std::string file = InvoiceSchemas::fileFor(profile.conformanceLevel);
    std::vector<std::string> errors;
    std::string reason;
    if (!schemas_.validate(xml, profile.conformanceLevel, errors, reason)) {
        found.schemaOutcome = "not checked: " + reason;
        found.warnings.push_back("the schema was not checked: " + reason);
        return false;
    }
    found.schemaOutcome = (errors.empty() ? "passed " : "failed ") + file +
                          (errors.empty() ? "" : " (" + countOf(errors.size(), "error") + ")");
    for (const auto& error : errors) found.errors.push_back("XSD: " + error);
    return true;
}

bool InvoiceChecker::checkRules(std::string_view xml, InvoiceFindings& found) {
    std::string svrl;
    std::string reason;
    std::vector<RuleFinding> findings;
    if (!rules_.check(xml, svrl, reason) || !parseSvrl(svrl, findings, reason)) {
        found.rulesOutcome = reason;
        found.warnings.push_back(reason);
        return false;
    }
    std::size_t fatal = 0;
    for (const auto& finding : findings) {
        const std::string line = finding.id + ": " + finding.text;
        if (finding.fatal) {
            ++fatal;
            found.errors.push_back(line);
        } else {
            found.warnings.push_back(line);
        }
    }
    found.rulesOutcome = (fatal == 0 ? "passed" : "failed") + std::string(" (") +
                         countOf(fatal, "fatal error") + ", " +
                         countOf(findings.size() - fatal, "warning") + ")";
    return true;
}

}  // namespace korventa::refdriver
