#include "batch/PdfSections.h"

#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <charconv>
#include <exception>
#include <optional>

namespace korventa {
namespace {

// The section number a link annotation marks, if it is one of ours.
std::optional<std::size_t> markedSection(QPDFObjectHandle annotation, const std::string& prefix) {
    if (!annotation.isDictionary() || !annotation.getKey("/Subtype").isNameAndEquals("/Link"))
        return std::nullopt;
    QPDFObjectHandle action = annotation.getKey("/A");
    if (!action.isDictionary() || !action.getKey("/URI").isString())
        return std::nullopt;
    const std::string address = action.getKey("/URI").getUTF8Value();
    if (address.size() <= prefix.size() || address.compare(0, prefix.size(), prefix) != 0)
        return std::nullopt;
    std::size_t number = 0;
    const char* end = address.data() + address.size();
    const auto [last, failure] = std::from_chars(address.data() + prefix.size(), end, number);
    if (failure != std::errc() || last != end)
        return std::nullopt;
    return number;
}

// Removes the page's marks; the sections they name, in the order they appear.
std::vector<std::size_t> takeMarks(QPDFObjectHandle page, const std::string& prefix) {
    std::vector<std::size_t> marks;
    QPDFObjectHandle annotations = page.getKey("/Annots");
    if (!annotations.isArray())
        return marks;
    std::vector<QPDFObjectHandle> kept;
    for (QPDFObjectHandle annotation : annotations.getArrayAsVector()) {
        if (const auto section = markedSection(annotation, prefix))
            marks.push_back(*section);
        else
            kept.push_back(annotation);
    }
    if (marks.empty())
        return marks;
    if (kept.empty())
        page.removeKey("/Annots");
    else
        page.replaceKey("/Annots", QPDFObjectHandle::newArray(kept));
    return marks;
}

// The first page of every section, or nothing when the marks do not say it exactly.
std::vector<std::size_t> firstPages(const std::vector<QPDFPageObjectHelper>& pages,
                                    const std::string& prefix, std::size_t sections,
                                    std::string& error) {
    std::vector<std::size_t> first;
    for (std::size_t at = 0; at < pages.size(); ++at) {
        for (const std::size_t section : takeMarks(pages[at].getObjectHandle(), prefix)) {
            if (section != first.size() || (first.empty() && at != 0) ||
                (!first.empty() && first.back() == at)) {
                error = "the printed sections are out of order or share a page";
                return {};
            }
            first.push_back(at);
        }
    }
    if (first.size() != sections) {
        error = "the print marks " + std::to_string(first.size()) + " of " +
                std::to_string(sections) + " sections";
        return {};
    }
    return first;
}

std::string sectionPdf(QPDF& source, const std::vector<QPDFPageObjectHelper>& pages,
                       std::size_t begin, std::size_t end) {
    QPDF part;
    part.emptyPDF();
    QPDFObjectHandle info = source.getTrailer().getKey("/Info");
    if (info.isDictionary())
        part.getTrailer().replaceKey("/Info", part.copyForeignObject(info));
    QPDFPageDocumentHelper target(part);
    for (std::size_t at = begin; at < end; ++at) target.addPage(pages[at], false);
    QPDFWriter writer(part);
    writer.setOutputMemory();
    writer.setMinimumPDFVersion(source.getPDFVersion());
    writer.write();
    const std::shared_ptr<Buffer> buffer = writer.getBufferSharedPointer();
    return std::string(reinterpret_cast<const char*>(buffer->getBuffer()), buffer->getSize());
}

}  // namespace

bool splitPdfSections(std::string_view pdf, const std::string& markPrefix, std::size_t sections,
                      std::vector<std::string>& out, std::string& error) {
    try {
        QPDF source;
        source.setSuppressWarnings(true);
        source.processMemoryFile("collated.pdf", pdf.data(), pdf.size());
        const std::vector<QPDFPageObjectHelper> pages = QPDFPageDocumentHelper(source).getAllPages();
        const std::vector<std::size_t> first = firstPages(pages, markPrefix, sections, error);
        if (first.size() != sections || sections == 0)
            return false;
        out.clear();
        for (std::size_t section = 0; section < sections; ++section) {
            const std::size_t end = section + 1 < sections ? first[section + 1] : pages.size();
            out.push_back(sectionPdf(source, pages, first[section], end));
        }
        return true;
    } catch (const std::exception& failure) {
        error = std::string("the printed PDF cannot be cut: ") + failure.what();
        return false;
    }
}

}  // namespace korventa
