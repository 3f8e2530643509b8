// An invoice XML comes from a page, and the rules' report repeats parts of it: whatever the
// bytes, reading them gives a verdict or a reason, and the profile is always one that names a
// known attachment.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "refdriver/InvoiceXml.h"
#include "refdriver/SvrlFindings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::string guideline;
    std::string error;
    (void)korventa::refdriver::checkInvoiceXml(bytes, guideline, error);
    std::string warning;
    const auto profile = korventa::refdriver::invoiceProfile(bytes.substr(0, 40), guideline, warning);
    if (profile.fileName != "factur-x.xml" && profile.fileName != "xrechnung.xml") std::abort();
    std::vector<korventa::refdriver::RuleFinding> findings;
    if (!korventa::refdriver::parseSvrl(bytes, findings, error) && error.empty()) std::abort();
    for (const auto& finding : findings) {
        if (finding.id.empty()) std::abort();
    }
    return 0;
}
