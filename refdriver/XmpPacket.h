// The XMP metadata packet of a finished PDF: PDF/A-3 part and conformance, the document
// information (kept equal to the PDF's Info dictionary, as PDF/A demands) and, for invoices,
// the Factur-X values with the extension schema that declares them. Pure; any thread.
#pragma once

#include <string>

namespace korventa::refdriver {

struct DocumentInfo {
    std::string title;  // UTF-8, each may be empty
    std::string author;
    std::string subject;
    std::string keywords;
    std::string producer;
    std::string date;  // ISO 8601 with offset, e.g. "2026-12-09T17:30:00+00:00"
};

struct InvoiceMetadata {
    std::string fileName;          // of the embedded XML
    std::string conformanceLevel;  // e.g. "EN 16931"
};

// `invoice` null: no Factur-X values.
[[nodiscard]] std::string xmpPacket(const DocumentInfo& info, const InvoiceMetadata* invoice);

}  // namespace korventa::refdriver
