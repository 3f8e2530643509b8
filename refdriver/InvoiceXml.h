// What the driver needs to know of a job's invoice XML before it embeds it: whether it is
// well-formed XML at all, and which profile it follows: the one the guideline ID inside the
// document names, the job's "AnnZUGProfile" only where the XML names none known. The profile decides the attachment's name, its
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
// The guideline ID decides; a page's request that disagrees with it changes no label and gives
// `warning` (as does a guideline ID naming no known profile). Without either, "EN 16931", the
// profile the guideline of the standard itself names.
[[nodiscard]] InvoiceProfile invoiceProfile(std::string_view requestedProfile,
                                            std::string_view guidelineId, std::string& warning);

}  // namespace korventa::refdriver
