// Decides whether an invoice XML may be called valid: the schema of the profile it declares and,
// for the profiles that claim EN 16931 conformance, the EN 16931 business rules. "Valid" only
// when both ran and found no error; any error makes it "invalid"; a check that could not run
// leaves it "not checked". One object for the loaded driver library, so the parsed schemas and
// the warm rule checker serve every job of the process; any thread.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "refdriver/InvoiceSchemas.h"
#include "refdriver/InvoiceXml.h"
#include "refdriver/RuleChecker.h"

namespace korventa::refdriver {

enum class InvoiceVerdict { Valid, Invalid, NotChecked };

struct InvoiceFindings {
    InvoiceVerdict verdict = InvoiceVerdict::NotChecked;
    std::vector<std::string> errors;    // "BR-S-05: text", "XSD: line 3: message"
    std::vector<std::string> warnings;  // "BR-CO-xx: text", or why a check did not run
    std::string schemaOutcome;          // one line each for the report
    std::string rulesOutcome;
};

// "valid", "invalid" or "not checked", as the finished-job entry records it.
[[nodiscard]] const char* verdictName(InvoiceVerdict verdict);

class InvoiceChecker {
public:
    // `folder` holds schemas/ and the rule checker with its stylesheet.
    explicit InvoiceChecker(const std::string& folder)
        : schemas_(folder + "/schemas"), rules_(folder) {}

    // Lets the rule checker start while the job's page is still printing.
    void warmUp() { rules_.warmUp(); }
    // `xml` is well-formed; `profile` is what the XML declares.
    [[nodiscard]] InvoiceFindings check(std::string_view xml, const InvoiceProfile& profile);

private:
    // False when the check did not run.
    [[nodiscard]] bool checkSchema(std::string_view xml, const InvoiceProfile& profile,
                                   InvoiceFindings& found);
    [[nodiscard]] bool checkRules(std::string_view xml, InvoiceFindings& found);

    InvoiceSchemas schemas_;
    RuleChecker rules_;
};

}  // namespace korventa::refdriver
