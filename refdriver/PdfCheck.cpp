#include "refdriver/PdfCheck.h"

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>

#include <exception>

namespace korventa::refdriver {

bool checkPdfIntact(const std::string& pdf, std::string& error) {
    try {
        QPDF document;
        document.setSuppressWarnings(true);
        // Repairing would read a truncated file as a shorter document.
        document.setAttemptRecovery(false);
        document.processMemoryFile("job.pdf", pdf.data(), pdf.size());
        for (const auto& [object, entry] : document.getXRefTable())
            (void)document.getObject(object).getTypeCode();
        (void)QPDFPageDocumentHelper(document).getAllPages();
        if (!document.anyWarnings()) return true;
        error = std::string("the PDF is damaged: ") + document.getWarnings().front().what();
    } catch (const std::exception& failure) {
        error = std::string("the PDF is damaged: ") + failure.what();
    }
    return false;
}

}  // namespace korventa::refdriver
