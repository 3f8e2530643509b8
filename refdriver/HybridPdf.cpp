#include "refdriver/HybridPdf.h"

#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFEFStreamObjectHelper.hh>
#include <qpdf/QPDFEmbeddedFileDocumentHelper.hh>
#include <qpdf/QPDFFileSpecObjectHelper.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>
#include <qpdf/QUtil.hh>

#include <exception>
#include <fstream>
#include <iterator>
#include <memory>

namespace korventa::refdriver {
namespace {

constexpr const char* kProducer = "Veltrix PDF Pro reference driver";
constexpr const char* kSrgbName = "sRGB IEC61966-2.1";
// Annotation flags: Invisible 1, Hidden 2, Print 4, NoView 32.
constexpr long long kHiddenFlags = 1 | 2 | 32;
constexpr long long kPrintFlag = 4;

std::string readProfile() {
    std::ifstream file(kSrgbProfilePath, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void setText(QPDFObjectHandle dictionary, const std::string& key, const std::string& value) {
    if (value.empty())
        dictionary.removeKey(key);
    else
        dictionary.replaceKey(key, QPDFObjectHandle::newUnicodeString(value));
}

// The Info dictionary says what the XMP says; Chromium's own entries are replaced.
void writeInfo(QPDF& pdf, const DocumentInfo& info, const std::string& pdfDate) {
    QPDFObjectHandle trailer = pdf.getTrailer();
    QPDFObjectHandle dictionary = trailer.getKey("/Info");
    if (!dictionary.isDictionary()) {
        dictionary = pdf.makeIndirectObject(QPDFObjectHandle::newDictionary());
        trailer.replaceKey("/Info", dictionary);
    }
    setText(dictionary, "/Title", info.title);
    setText(dictionary, "/Author", info.author);
    setText(dictionary, "/Subject", info.subject);
    setText(dictionary, "/Keywords", info.keywords);
    setText(dictionary, "/Producer", info.producer);
    setText(dictionary, "/Creator", info.producer);
    setText(dictionary, "/CreationDate", pdfDate);
    setText(dictionary, "/ModDate", pdfDate);
}

void writeMetadata(QPDF& pdf, const DocumentInfo& info, const InvoiceAttachment* invoice) {
    const InvoiceMetadata fx{invoice ? invoice->profile.fileName : std::string(),
                             invoice ? invoice->profile.conformanceLevel : std::string()};
    QPDFObjectHandle stream =
        QPDFObjectHandle::newStream(&pdf, xmpPacket(info, invoice ? &fx : nullptr));
    stream.getDict().replaceKey("/Type", QPDFObjectHandle::newName("/Metadata"));
    stream.getDict().replaceKey("/Subtype", QPDFObjectHandle::newName("/XML"));
    pdf.getRoot().replaceKey("/Metadata", stream);
}

void writeOutputIntent(QPDF& pdf) {
    const std::string profile = readProfile();
    if (profile.empty())
        return;
    QPDFObjectHandle icc = QPDFObjectHandle::newStream(&pdf, profile);
    icc.getDict().replaceKey("/N", QPDFObjectHandle::newInteger(3));
    QPDFObjectHandle intent = QPDFObjectHandle::newDictionary();
    intent.replaceKey("/Type", QPDFObjectHandle::newName("/OutputIntent"));
    intent.replaceKey("/S", QPDFObjectHandle::newName("/GTS_PDFA1"));
    intent.replaceKey("/OutputConditionIdentifier", QPDFObjectHandle::newString(kSrgbName));
    intent.replaceKey("/Info", QPDFObjectHandle::newString(kSrgbName));
    intent.replaceKey("/DestOutputProfile", icc);
    pdf.getRoot().replaceKey("/OutputIntents",
                             QPDFObjectHandle::newArray({pdf.makeIndirectObject(intent)}));
}

// PDF/A wants every annotation printed and none hidden.
void printAnnotations(QPDF& pdf) {
    for (QPDFPageObjectHelper& page : QPDFPageDocumentHelper(pdf).getAllPages()) {
        QPDFObjectHandle annotations = page.getObjectHandle().getKey("/Annots");
        if (!annotations.isArray())
            continue;
        for (QPDFObjectHandle annotation : annotations.aitems()) {
            if (!annotation.isDictionary())
                continue;
            QPDFObjectHandle flags = annotation.getKey("/F");
            const long long value = flags.isInteger() ? flags.getIntValue() : 0;
            annotation.replaceKey("/F", QPDFObjectHandle::newInteger(
                                            (value & ~kHiddenFlags) | kPrintFlag));
        }
    }
}

void embedInvoice(QPDF& pdf, const InvoiceAttachment& invoice, const std::string& pdfDate) {
    auto stream = QPDFEFStreamObjectHelper::createEFStream(pdf, invoice.xml);
    stream.setSubtype("text/xml").setCreationDate(pdfDate).setModDate(pdfDate);
    auto attachment =
        QPDFFileSpecObjectHelper::createFileSpec(pdf, invoice.profile.fileName, stream);
    attachment.setDescription("Factur-X invoice");
    QPDFObjectHandle attachmentObject = attachment.getObjectHandle();
    attachmentObject.replaceKey("/AFRelationship",
                                QPDFObjectHandle::newName("/" + invoice.profile.relationship));
    QPDFEmbeddedFileDocumentHelper(pdf).replaceEmbeddedFile(invoice.profile.fileName, attachment);
    QPDFObjectHandle root = pdf.getRoot();
    root.replaceKey("/AF", QPDFObjectHandle::newArray({attachmentObject}));
    root.replaceKey("/PageMode", QPDFObjectHandle::newName("/UseAttachments"));
}

std::string written(QPDF& pdf) {
    QPDFWriter writer(pdf);
    writer.setOutputMemory();
    writer.setMinimumPDFVersion("1.7");
    writer.setDeterministicID(true);
    writer.write();
    const std::shared_ptr<Buffer> buffer = writer.getBufferSharedPointer();
    return std::string(reinterpret_cast<const char*>(buffer->getBuffer()), buffer->getSize());
}

}  // namespace

bool finishPdf(std::string& pdf, DocumentInfo info, const InvoiceAttachment* invoice,
               std::string& error) {
    try {
        QPDF document;
        document.setSuppressWarnings(true);
        document.processMemoryFile("job.pdf", pdf.data(), pdf.size());
        const QUtil::QPDFTime now = QUtil::get_current_qpdf_time();
        const std::string pdfDate = QUtil::qpdf_time_to_pdf_time(now);
        info.date = QUtil::qpdf_time_to_iso8601(now);
        info.producer = kProducer;
        writeInfo(document, info, pdfDate);
        writeMetadata(document, info, invoice);
        writeOutputIntent(document);
        printAnnotations(document);
        if (invoice != nullptr)
            embedInvoice(document, *invoice, pdfDate);
        pdf = written(document);
        return true;
    } catch (const std::exception& failure) {
        error = std::string("the PDF cannot be rewritten: ") + failure.what();
        return false;
    }
}

}  // namespace korventa::refdriver
