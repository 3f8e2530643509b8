// Cutting a collated print: pages belong to the section whose mark is on the first of them;
// marks are removed and the page's own links kept; any doubt about the marks cuts nothing.
#include "batch/PdfSections.h"

#include <gtest/gtest.h>
#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <string>
#include <vector>

namespace korventa {
namespace {

const std::string kPrefix = "korventa-section:run/1/";

QPDFObjectHandle link(QPDF& pdf, const std::string& address) {
    QPDFObjectHandle action = QPDFObjectHandle::newDictionary();
    action.replaceKey("/S", QPDFObjectHandle::newName("/URI"));
    action.replaceKey("/URI", QPDFObjectHandle::newString(address));
    QPDFObjectHandle annotation = QPDFObjectHandle::newDictionary();
    annotation.replaceKey("/Type", QPDFObjectHandle::newName("/Annot"));
    annotation.replaceKey("/Subtype", QPDFObjectHandle::newName("/Link"));
    annotation.replaceKey("/Rect", QPDFObjectHandle::newArray(QPDFObjectHandle::Rectangle(0, 0, 1, 1)));
    annotation.replaceKey("/A", action);
    return pdf.makeIndirectObject(annotation);
}

// A PDF whose page i shows the text "page i" and carries links to `links[i]`.
std::string makePdf(const std::vector<std::vector<std::string>>& links) {
    QPDF pdf;
    pdf.emptyPDF();
    QPDFPageDocumentHelper pages(pdf);
    for (std::size_t at = 0; at < links.size(); ++at) {
        QPDFObjectHandle page = QPDFObjectHandle::newDictionary();
        page.replaceKey("/Type", QPDFObjectHandle::newName("/Page"));
        page.replaceKey("/MediaBox",
                        QPDFObjectHandle::newArray(QPDFObjectHandle::Rectangle(0, 0, 595, 842)));
        page.replaceKey("/Contents",
                        QPDFObjectHandle::newStream(&pdf, "% page " + std::to_string(at) + "\n"));
        std::vector<QPDFObjectHandle> annotations;
        for (const std::string& address : links[at]) annotations.push_back(link(pdf, address));
        if (!annotations.empty())
            page.replaceKey("/Annots", QPDFObjectHandle::newArray(annotations));
        pages.addPage(QPDFPageObjectHelper(pdf.makeIndirectObject(page)), false);
    }
    QPDFWriter writer(pdf);
    writer.setOutputMemory();
    writer.setQDFMode(true);
    writer.write();
    const std::shared_ptr<Buffer> buffer = writer.getBufferSharedPointer();
    return std::string(reinterpret_cast<const char*>(buffer->getBuffer()), buffer->getSize());
}

struct PageSeen {
    std::string contents;
    std::vector<std::string> links;
};

std::vector<PageSeen> pagesOf(const std::string& bytes) {
    QPDF pdf;
    pdf.processMemoryFile("part.pdf", bytes.data(), bytes.size());
    std::vector<PageSeen> seen;
    for (QPDFPageObjectHelper page : QPDFPageDocumentHelper(pdf).getAllPages()) {
        PageSeen one;
        const std::shared_ptr<Buffer> data = page.getObjectHandle().getKey("/Contents").getStreamData();
        one.contents.assign(reinterpret_cast<const char*>(data->getBuffer()), data->getSize());
        QPDFObjectHandle annotations = page.getObjectHandle().getKey("/Annots");
        if (annotations.isArray()) {
            for (QPDFObjectHandle annotation : annotations.getArrayAsVector())
                one.links.push_back(annotation.getKey("/A").getKey("/URI").getUTF8Value());
        }
        seen.push_back(one);
    }
    return seen;
}

TEST(PdfSections, EachSectionGetsItsPagesWithoutItsMarkButWithThePagesOwnLinks) {
    const std::string pdf = makePdf({{kPrefix + "0", "https://example.com/a"},
                                     {kPrefix + "1"},
                                     {"https://example.com/b"},
                                     {},
                                     {"korventa-section:other/1/2", kPrefix + "2"}});
    std::vector<std::string> parts;
    std::string error;
    ASSERT_TRUE(splitPdfSections(pdf, kPrefix, 3, parts, error)) << error;
    ASSERT_EQ(parts.size(), 3U);
    const std::vector<PageSeen> first = pagesOf(parts[0]);
    ASSERT_EQ(first.size(), 1U);
    EXPECT_EQ(first[0].contents, "% page 0\n");
    EXPECT_EQ(first[0].links, std::vector<std::string>{"https://example.com/a"});
    const std::vector<PageSeen> second = pagesOf(parts[1]);
    ASSERT_EQ(second.size(), 3U);
    EXPECT_EQ(second[0].contents, "% page 1\n");
    EXPECT_TRUE(second[0].links.empty());
    EXPECT_EQ(second[1].links, std::vector<std::string>{"https://example.com/b"});
    EXPECT_EQ(second[2].contents, "% page 3\n");
    const std::vector<PageSeen> third = pagesOf(parts[2]);
    ASSERT_EQ(third.size(), 1U);
    EXPECT_EQ(third[0].links, std::vector<std::string>{"korventa-section:other/1/2"});
}

TEST(PdfSections, MarksMissingOutOfOrderOrSharingAPageCutNothing) {
    const std::vector<std::vector<std::vector<std::string>>> doubtful{
        {{kPrefix + "0"}, {}, {kPrefix + "2"}},                // one missing
        {{kPrefix + "0"}, {kPrefix + "2"}, {kPrefix + "1"}},   // out of order
        {{}, {kPrefix + "0"}, {kPrefix + "1"}, {kPrefix + "2"}},  // pages before the first
        {{kPrefix + "0", kPrefix + "1"}, {kPrefix + "2"}},     // two on one page
        {{kPrefix + "0"}, {kPrefix + "1"}, {kPrefix + "2"}, {kPrefix + "3"}},  // one too many
        {{kPrefix + "0"}, {kPrefix + "1"}, {kPrefix + "2x"}},  // not a number
    };
    for (const auto& links : doubtful) {
        std::vector<std::string> parts;
        std::string error;
        EXPECT_FALSE(splitPdfSections(makePdf(links), kPrefix, 3, parts, error));
        EXPECT_FALSE(error.empty());
        EXPECT_TRUE(parts.empty());
    }
    std::vector<std::string> parts;
    std::string error;
    EXPECT_FALSE(splitPdfSections("%PDF-1.4 not really", kPrefix, 1, parts, error));
    EXPECT_NE(error.find("cannot be cut"), std::string::npos);
}

}  // namespace
}  // namespace korventa
