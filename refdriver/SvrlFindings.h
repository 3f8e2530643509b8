// Reads the report the business rules produce (SVRL, an XML vocabulary): every failed assert
// and successful report becomes a finding, an error where its flag is "fatal" (or missing), a
// warning otherwise. The report is parsed as XML, never searched as text: its attributes are
// spread over lines. Pure; any thread.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace korventa::refdriver {

struct RuleFinding {
    std::string id;        // "BR-S-05"
    std::string text;      // the rule's message, without its leading "[BR-S-05]-"
    std::string location;  // an XPath into the invoice
    bool fatal = true;
};

// False with a reason when `svrl` is not a readable report.
[[nodiscard]] bool parseSvrl(std::string_view svrl, std::vector<RuleFinding>& findings,
                             std::string& error);

}  // namespace korventa::refdriver
