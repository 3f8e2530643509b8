// What the driver's tests put into a job and read back from what it delivered: a one-page PDF
// qpdf can read (so a finisher's rewrite really runs) and whole files as bytes.
#pragma once

#include <string>

namespace korventa::test {

[[nodiscard]] std::string onePagePdf();
// Empty when the file cannot be read.
[[nodiscard]] std::string readBytes(const std::string& path);
void writeBytes(const std::string& path, const std::string& bytes);

}  // namespace korventa::test
