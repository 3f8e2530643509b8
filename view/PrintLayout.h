// The print settings record turned into what the browser prints with: a custom page of the
// record's size in inches, portrait, the platform's default margins of 1 cm. Backgrounds and
// the absence of header and footer are the page's settings, not the layout's. Pure; any thread.
#pragma once

#include <QPageLayout>

#include "print/PdfPrintSettings.h"

namespace korventa {

// Fills `layout`; the caller must not print with a layout that is not valid afterwards (the
// browser would never answer).
void ApplyPrintSettings(const PdfPrintSettings& settings, QPageLayout& layout);

}  // namespace korventa
