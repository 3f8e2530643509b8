// Makes the browser's PDF a finished document with qpdf: document information and XMP
// metadata as close to PDF/A-3b as a rewrite can get (sRGB output intent, document ID, print
// flag on annotations, PDF 1.7) and, for an invoice, the XML embedded as an associated file
// the way Factur-X readers look for it. Stateless; any thread, one document per call.
#pragma once

#include <string>

#include "refdriver/InvoiceXml.h"
#include "refdriver/XmpPacket.h"

namespace korventa::refdriver {

struct InvoiceAttachment {
    std::string xml;
    InvoiceProfile profile;
};

// Where the output intent's colour profile is read from; a missing file leaves the intent out.
inline constexpr const char* kSrgbProfilePath = "/usr/share/color/icc/sRGB.icc";

// Rewrites `pdf` in place; `info.date` and `info.producer` are filled here. False with a
// reason (and `pdf` untouched) when qpdf cannot read or write the document.
[[nodiscard]] bool finishPdf(std::string& pdf, DocumentInfo info,
                             const InvoiceAttachment* invoice, std::string& error);

}  // namespace korventa::refdriver
