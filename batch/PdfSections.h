// Cuts the PDF of a collated print into one PDF per section. A section's pages run from the
// page whose link annotation has the address `markPrefix` + its number (0, 1, ...) to the page
// before the next section's mark; those annotations are removed, nothing else changes. Every
// mark must be there once, in order, the first on the first page, or nothing is cut: pages
// are never guessed. Pure function, no Qt; any thread.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace korventa {

// `out` gets `sections` PDFs in section order; false with `error` otherwise.
[[nodiscard]] bool splitPdfSections(std::string_view pdf, const std::string& markPrefix,
                                    std::size_t sections, std::vector<std::string>& out,
                                    std::string& error);

}  // namespace korventa
