// The finished PDF as a Factur-X reader and a PDF/A checker look at it: the embedded invoice
// with its associated-file entries, the metadata that names it, the output intent, the
// document ID and printable annotations. Documents are made and read back with qpdf.
#include "refdriver/HybridPdf.h"

#include <gtest/gtest.h>
#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFWriter.hh>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

namespace korventa::refdriver {
namespace {

InvoiceProfile profileOf(std::string_view requested, std::string_view guideline) {
    std::string warning;
    return invoiceProfile(requested, guideline, warning);
}

constexpr const char* kInvoiceXml =
    "<rsm:CrossIndustryInvoice xmlns:rsm=\"urn:un:unece:uncefact:data:standard:"
    "CrossIndustryInvoice:100\" xmlns:ram=\"urn:un:unece:uncefact:data:standard:"
    "ReusableAggregateBusinessInformationEntity:100\"><rsm:ExchangedDocumentContext>"
    "<ram:GuidelineSpecifiedDocumentContextParameter><ram:ID> urn:cen.eu:en16931:2017 </ram:ID>"
    "</ram:GuidelineSpecifiedDocumentContextParameter></rsm:ExchangedDocumentContext>"
    "</rsm:CrossIndustryInvoice>";

// One page with a link annotation that is hidden and not printed, as browsers write them.
std::string browserLikePdf() {
    QPDF pdf;
    pdf.emptyPDF();
    QPDFObjectHandle link = QPDFObjectHandle::parse(
        "<< /Type /Annot /Subtype /Link /Rect [0 0 10 10] /F 2 >>");
    QPDFObjectHandle page = QPDFObjectHandle::parse(
        "<< /Type /Page /MediaBox [0 0 595 842] /Resources << >> >>");
    page.replaceKey("/Annots", QPDFObjectHandle::newArray({pdf.makeIndirectObject(link)}));
    pdf.addPage(pdf.makeIndirectObject(page), false);
    QPDFWriter writer(pdf);
    writer.setOutputMemory();
    writer.write();
    const auto buffer = writer.getBufferSharedPointer();
    return std::string(reinterpret_cast<const char*>(buffer->getBuffer()), buffer->getSize());
}

std::string streamText(QPDFObjectHandle stream) {
    const std::shared_ptr<Buffer> data = stream.getStreamData(qpdf_dl_all);
    return std::string(reinterpret_cast<const char*>(data->getBuffer()), data->getSize());
}

std::string hex(const std::string& bytes) {
    std::string out;
    char digits[3];
    for (const unsigned char c : bytes) {
        std::snprintf(digits, sizeof digits, "%02x", c);
        out += digits;
    }
    return out;
}

class HybridPdf : public testing::Test {
protected:
    // Finishes a fresh document and opens the result in `read_`.
    void finish(const InvoiceAttachment* invoice, DocumentInfo info = {}) {
        bytes_ = browserLikePdf();
        std::string error;
        ASSERT_TRUE(finishPdf(bytes_, std::move(info), invoice, error)) << error;
        read_.processMemoryFile("finished.pdf", bytes_.data(), bytes_.size());
    }

    std::string metadata() { return streamText(read_.getRoot().getKey("/Metadata")); }

    std::string bytes_;
    QPDF read_;
};

TEST_F(HybridPdf, EmbedsTheInvoiceAsTheDocumentsAssociatedFile) {
    const InvoiceAttachment invoice{kInvoiceXml, profileOf("", "urn:cen.eu:en16931:2017")};
    finish(&invoice);

    QPDFObjectHandle root = read_.getRoot();
    ASSERT_TRUE(root.getKey("/AF").isArray());
    ASSERT_EQ(root.getKey("/AF").getArrayNItems(), 1);
    QPDFObjectHandle attachment = root.getKey("/AF").getArrayItem(0);
    EXPECT_TRUE(attachment.getKey("/AFRelationship").isNameAndEquals("/Alternative"));
    EXPECT_EQ(attachment.getKey("/F").getUTF8Value(), "factur-x.xml");
    EXPECT_EQ(attachment.getKey("/UF").getUTF8Value(), "factur-x.xml");
    EXPECT_TRUE(attachment.getKey("/Desc").isString());
    QPDFObjectHandle file = attachment.getKey("/EF").getKey("/F");
    EXPECT_TRUE(file.getDict().getKey("/Subtype").isNameAndEquals("/text/xml"));
    EXPECT_EQ(streamText(file), kInvoiceXml);
    QPDFObjectHandle params = file.getDict().getKey("/Params");
    EXPECT_EQ(params.getKey("/Size").getIntValue(),
              static_cast<long long>(std::string(kInvoiceXml).size()));
    EXPECT_EQ(params.getKey("/CheckSum").getStringValue().size(), 16u);
    EXPECT_TRUE(params.getKey("/ModDate").isString());
    // The same attachment object in the name tree that attachment panels list.
    QPDFObjectHandle names = root.getKey("/Names").getKey("/EmbeddedFiles").getKey("/Names");
    ASSERT_TRUE(names.isArray());
    EXPECT_EQ(names.getArrayItem(0).getUTF8Value(), "factur-x.xml");
    EXPECT_TRUE(root.getKey("/PageMode").isNameAndEquals("/UseAttachments"));
}

TEST_F(HybridPdf, ChecksumIsTheMd5OfTheEmbeddedBytes) {
    const InvoiceAttachment invoice{"<x/>", profileOf("EN 16931", "")};
    finish(&invoice);
    QPDFObjectHandle params = read_.getRoot()
                                  .getKey("/AF")
                                  .getArrayItem(0)
                                  .getKey("/EF")
                                  .getKey("/F")
                                  .getDict()
                                  .getKey("/Params");
    EXPECT_EQ(hex(params.getKey("/CheckSum").getStringValue()),
              "a8b594bf8dcca656fb1eb1b66344940a");
}

TEST_F(HybridPdf, MetadataDeclaresPdfaAndTheInvoiceProfile) {
    const InvoiceAttachment invoice{kInvoiceXml, profileOf("", "urn:cen.eu:en16931:2017")};
    finish(&invoice, {"Rechnung 471103", "Lieferant GmbH", "Invoice", "", {}, {}});
    const std::string xmp = metadata();
    for (const char* expected :
         {"<pdfaid:part>3</pdfaid:part>", "<pdfaid:conformance>B</pdfaid:conformance>",
          "<rdf:li xml:lang=\"x-default\">Rechnung 471103</rdf:li>",
          "<fx:DocumentType>INVOICE</fx:DocumentType>",
          "<fx:DocumentFileName>factur-x.xml</fx:DocumentFileName>", "<fx:Version>1.0</fx:Version>",
          "<fx:ConformanceLevel>EN 16931</fx:ConformanceLevel>",
          "<pdfaSchema:prefix>fx</pdfaSchema:prefix>"}) {
        EXPECT_NE(xmp.find(expected), std::string::npos) << expected;
    }
    QPDFObjectHandle info = read_.getTrailer().getKey("/Info");
    EXPECT_EQ(info.getKey("/Title").getUTF8Value(), "Rechnung 471103");
    EXPECT_EQ(info.getKey("/Author").getUTF8Value(), "Lieferant GmbH");
    EXPECT_TRUE(read_.getRoot().getKey("/Metadata").getDict().getKey("/Subtype").isNameAndEquals(
        "/XML"));
}

// A title from the page may hold control characters that XML cannot carry.
TEST_F(HybridPdf, MetadataStaysWellFormedXmlForControlCharactersInTheTitle) {
    finish(nullptr, {"Report\x01 <March>\x1b", "", "", "", {}, {}});
    EXPECT_NE(metadata().find("<rdf:li xml:lang=\"x-default\">Report &lt;March&gt;</rdf:li>"),
              std::string::npos)
        << metadata();
}

TEST_F(HybridPdf, PlainDocumentGetsPdfaGroundworkButNoInvoice) {
    finish(nullptr, {"Report", "", "", "", {}, {}});
    EXPECT_EQ(read_.getPDFVersion(), "1.7");
    EXPECT_TRUE(read_.getTrailer().getKey("/ID").isArray());
    EXPECT_TRUE(read_.getRoot().getKey("/AF").isNull());
    EXPECT_EQ(metadata().find("fx:"), std::string::npos);
    if (std::filesystem::exists(kSrgbProfilePath)) {
        QPDFObjectHandle intent = read_.getRoot().getKey("/OutputIntents").getArrayItem(0);
        EXPECT_TRUE(intent.getKey("/S").isNameAndEquals("/GTS_PDFA1"));
        EXPECT_EQ(intent.getKey("/DestOutputProfile").getDict().getKey("/N").getIntValue(), 3);
    }
    QPDFObjectHandle page = read_.getAllPages().front();
    QPDFObjectHandle link = page.getKey("/Annots").getArrayItem(0);
    EXPECT_EQ(link.getKey("/F").getIntValue(), 4);
}

TEST_F(HybridPdf, NotAPdfIsRefusedAndLeftAlone) {
    std::string bytes = "%PDF-1.4 but nothing else";
    std::string error;
    EXPECT_FALSE(finishPdf(bytes, {}, nullptr, error));
    EXPECT_EQ(bytes, "%PDF-1.4 but nothing else");
    EXPECT_FALSE(error.empty());
}

TEST(InvoiceXml, BrokenXmlIsRefusedWithItsReason) {
    std::string guideline;
    std::string error;
    EXPECT_FALSE(checkInvoiceXml("<a><b></a>", guideline, error));
    EXPECT_NE(error.find("not well-formed"), std::string::npos);
    EXPECT_FALSE(checkInvoiceXml("", guideline, error));
    EXPECT_TRUE(checkInvoiceXml(kInvoiceXml, guideline, error));
    EXPECT_EQ(guideline, "urn:cen.eu:en16931:2017");
}

TEST(InvoiceXml, GuidelineIdDecidesTheProfile) {
    const InvoiceProfile minimum = profileOf("", "urn:factur-x.eu:1p0:minimum");
    EXPECT_EQ(minimum.conformanceLevel, "MINIMUM");
    EXPECT_EQ(minimum.relationship, "Data");
    EXPECT_EQ(profileOf("", "urn:factur-x.eu:1p0:basicwl").relationship, "Data");
    EXPECT_EQ(profileOf("", "urn:cen.eu:en16931:2017#compliant#urn:factur-x.eu:1p0:basic")
                  .conformanceLevel,
              "BASIC");
    const InvoiceProfile xrechnung =
        profileOf("", "urn:cen.eu:en16931:2017#compliant#urn:xeinkauf.de:kosit:xrechnung_3.0");
    EXPECT_EQ(xrechnung.conformanceLevel, "XRECHNUNG");
    EXPECT_EQ(xrechnung.fileName, "xrechnung.xml");
    EXPECT_EQ(profileOf("nonsense", "").fileName, "factur-x.xml");
}

// A page asking for XRechnung over an EN 16931 XML once gave "xrechnung.xml" labelled
// XRECHNUNG, and readers found no invoice in the PDF.
TEST(InvoiceXml, PageRequestThatDisagreesWithTheXmlOnlyWarns) {
    std::string warning;
    const InvoiceProfile labelled =
        invoiceProfile("XRECHNUNG", "urn:cen.eu:en16931:2017", warning);
    EXPECT_EQ(labelled.conformanceLevel, "EN 16931");
    EXPECT_EQ(labelled.fileName, "factur-x.xml");
    EXPECT_EQ(labelled.relationship, "Alternative");
    EXPECT_NE(warning.find("XRECHNUNG"), std::string::npos) << warning;
    EXPECT_NE(warning.find("EN 16931"), std::string::npos) << warning;

    (void)invoiceProfile("EN 16931", "urn:cen.eu:en16931:2017", warning);
    EXPECT_EQ(warning, "");
    (void)invoiceProfile("comfort", "urn:cen.eu:en16931:2017", warning);
    EXPECT_EQ(warning, "") << "another name of the same profile agrees";
    // Where the XML names no profile we know, the page's request fills the gap, with a word.
    EXPECT_EQ(invoiceProfile("EXTENDED", "urn:example:own", warning).conformanceLevel, "EXTENDED");
    EXPECT_NE(warning.find("urn:example:own"), std::string::npos) << warning;
}

}  // namespace
}  // namespace korventa::refdriver
