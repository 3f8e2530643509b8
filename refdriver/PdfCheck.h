// Whether qpdf reads the job's PDF as it stands: its cross-reference table, every object it
// lists and the page tree, without repairing anything. A PDF cut short by a full disk fails
// here, so it is refused rather than delivered. Stateless; any thread.
#pragma once

#include <string>

namespace korventa::refdriver {

// False with the reason in `error` ("the PDF is damaged: ...").
[[nodiscard]] bool checkPdfIntact(const std::string& pdf, std::string& error);

}  // namespace korventa::refdriver
