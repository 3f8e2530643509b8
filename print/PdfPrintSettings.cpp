#include "print/PdfPrintSettings.h"

#include <vector>

namespace korventa {
namespace {

constexpr int kA4Width = 2100;
constexpr int kA4Height = 2970;

}  // namespace

void ReadPrinterPaper(PrintSpooler& spooler, WStringView printerName, PdfPrintSettings& settings) {
    settings.printBackgrounds = false;
    settings.printHeaderAndFooter = true;
    settings.customPageSize = 1;
    QueuePapers papers;
    if (!spooler.queuePapers(printerName, papers) || !papers.current) return;
    int width = kA4Width;
    int height = kA4Height;
    for (const PaperSize& paper : papers.supported) {
        if (paper.name == papers.current->name) {
            width = paper.width;
            height = paper.height;
            break;
        }
    }
    settings.pageWidth = width / PdfPrintSettings::kTenthsOfMillimetrePerInch;
    settings.pageHeight = height / PdfPrintSettings::kTenthsOfMillimetrePerInch;
}

}  // namespace korventa
