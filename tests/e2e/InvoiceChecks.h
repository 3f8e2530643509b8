// What an end-to-end test knows of a finished invoice PDF, read with tools we did not write:
// its text as pdftotext gives it, its embedded XML as qpdf gives it, and that XML's verdict
// from the Factur-X schema and the EN 16931 business rules (tests/support/check-invoice.sh).
// Shell commands; any thread.
#pragma once

#include <string>

namespace korventa::test {

// The command's standard output and exit status (-1 when it did not exit).
[[nodiscard]] std::string commandOutput(const std::string& command, int& status);

// The PDF's text with every run of blanks and line ends folded into one blank, so a name
// that wraps on paper is found whole; empty when pdftotext fails.
[[nodiscard]] std::string pdfText(const std::string& pdf);
// The bytes of the attachment `name`; empty when there is none.
[[nodiscard]] std::string pdfAttachment(const std::string& pdf, const std::string& name);

enum class InvoiceVerdict { Valid, Invalid, Unchecked };

// Checks the XML file; `findings` gets the schema errors and failed fatal rules (or, when
// Unchecked, why the tools are missing).
[[nodiscard]] InvoiceVerdict checkInvoice(const std::string& xml, std::string& findings);

}  // namespace korventa::test
