// The print settings record of the browser view: the paper of the chosen printer in inches
// and the page's title, refreshed at every print; the other fields keep their first values.
// Paper sizes arrive in tenths of a millimetre. Owned by the view; window thread.
#pragma once

#include "core/Text.h"
#include "platform/spooler/PrintSpooler.h"

namespace korventa {

struct PdfPrintSettings {
    static constexpr double kTenthsOfMillimetrePerInch = 254.0;

    int orientation = 0;  // portrait, never changed
    int customPageSize = 0;
    double pageWidth = 8.5;
    double pageHeight = 11.0;
    double scaleFactor = 1.0;
    bool printBackgrounds = false;
    bool printHeaderAndFooter = false;
    WString headerTitle;
    WString footerUri;
    WString documentTitle;
};

// The spooler stands in for the device's paper list and mode: the printer's current paper is
// looked up by name among its listed papers and that listed size is taken; a current paper
// the list does not hold gives A4 (2100 x 2970). A printer the spooler does not know or
// cannot answer for leaves the page size as it was. The title is the caller's to fill.
void ReadPrinterPaper(PrintSpooler& spooler, WStringView printerName, PdfPrintSettings& settings);

}  // namespace korventa
