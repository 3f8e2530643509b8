// What the driver needs to know of a job's invoice XML before it embeds it: whether it is
// well-formed XML at all, and which profile it follows, from the job's "AnnZUGProfile" or else
// the guideline ID inside the document. The profile decides the attachment's name, its
// relationship to the PDF and the conformance level in the metadata. Pure; any thread.
#pragma once

#include <string>
#include <string_view>

namespace korventa::refdriver {

struct InvoiceProfile {
    std::string conformanceLevel;  // "MINIMUM", "BASIC WL", "BASIC", "EN 16931", ...
    std::string fileName;          // "factur-x.xml", or "xrechnung.xml" for XRechnung
    std::string relationship;      // "Alternative", or "Data" for MINIMUM and BASIC WL
};

// False with a reason for bytes that are not well-formed XML (no network access, no entity
// expansion, no DTD loading while parsing).
[[nodiscard]] bool checkInvoiceXml(std::string_view xml, std::string& guidelineId,
                                   std::string& error);
// The page's name for the profile wins over the guideline ID; unknown names fall back to
// "EN 16931", the profile the guideline of the standard itself names.
[[nodiscard]] InvoiceProfile invoiceProfile(std::string_view requestedProfile,
                                            std::string_view guidelineId);

}  // namespace korventa::refdriver
