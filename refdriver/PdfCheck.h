// Whether qpdf reads the job's PDF as it stands: its cross-reference table, every object it
// lists and the page tree, without repairing anything. A PDF cut short by a full disk fails
// here, so it is refused rather than delivered. Stateless; any thread.
#pragma once

#include <cstddef>
#include <string>

namespace korventa::refdriver {

// The largest job PDF the driver reads into memory.
inline constexpr std::size_t MaxJobPdfBytes = std::size_t{1} << 30;

// False with the reason in `error` ("the PDF is damaged: ...").
[[nodiscard]] bool checkPdfIntact(const std::string& pdf, std::string& error);

}  // namespace korventa::refdriver
