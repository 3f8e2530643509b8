// The text of the invoice check's report, kept beside the PDF as NAME.validation.txt: what was
// checked (XML, profile, schema, rules), the verdict, then every error and warning in full.
// Pure; any thread.
#pragma once

#include <string>

#include "refdriver/InvoiceChecker.h"

namespace korventa::refdriver {

struct ReportSubject {
    std::string document;    // the job's title
    std::string xmlSource;   // where the XML came from
    std::string guideline;   // as the XML declares it; may be empty
    std::string requested;   // the page's AnnZUGProfile; may be empty
    InvoiceProfile profile;  // as labelled in the PDF
};

[[nodiscard]] std::string validationReport(const ReportSubject& subject,
                                           const InvoiceFindings& findings);

}  // namespace korventa::refdriver
