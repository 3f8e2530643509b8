#include "refdriver/XmpPacket.h"

#include <string_view>

namespace korventa::refdriver {
namespace {

constexpr std::string_view kFacturXNamespace =
    "urn:factur-x:pdfa:CrossIndustryDocument:invoice:1p0#";

std::string escaped(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                // XML 1.0 has no place for other control characters; a page could send them.
                if (static_cast<unsigned char>(c) >= 0x20 || c == '\t' || c == '\n' || c == '\r')
                    out += c;
        }
    }
    return out;
}

std::string element(std::string_view name, std::string_view value) {
    return "<" + std::string(name) + ">" + escaped(value) + "</" + std::string(name) + ">\n";
}

std::string alternative(std::string_view name, std::string_view value) {
    return "<" + std::string(name) + "><rdf:Alt><rdf:li xml:lang=\"x-default\">" +
           escaped(value) + "</rdf:li></rdf:Alt></" + std::string(name) + ">\n";
}

std::string description(std::string_view namespaces, const std::string& body) {
    return "<rdf:Description rdf:about=\"\" " + std::string(namespaces) + ">\n" + body +
           "</rdf:Description>\n";
}

std::string extensionProperty(std::string_view name, std::string_view text) {
    return "<rdf:li rdf:parseType=\"Resource\">\n" + element("pdfaProperty:name", name) +
           element("pdfaProperty:valueType", "Text") +
           element("pdfaProperty:category", "external") +
           element("pdfaProperty:description", text) + "</rdf:li>\n";
}

std::string facturXDescriptions(const InvoiceMetadata& invoice) {
    const std::string values =
        element("fx:DocumentType", "INVOICE") + element("fx:DocumentFileName", invoice.fileName) +
        element("fx:Version", "1.0") + element("fx:ConformanceLevel", invoice.conformanceLevel);
    const std::string schema =
        "<pdfaExtension:schemas><rdf:Bag><rdf:li rdf:parseType=\"Resource\">\n" +
        element("pdfaSchema:schema", "Factur-X PDFA Extension Schema") +
        element("pdfaSchema:namespaceURI", kFacturXNamespace) +
        element("pdfaSchema:prefix", "fx") + "<pdfaSchema:property><rdf:Seq>\n" +
        extensionProperty("DocumentFileName", "The name of the embedded XML document") +
        extensionProperty("DocumentType", "The type of the hybrid document in capital letters") +
        extensionProperty("Version", "The version of the standard of the embedded XML") +
        extensionProperty("ConformanceLevel", "The conformance level of the embedded XML") +
        "</rdf:Seq></pdfaSchema:property>\n</rdf:li></rdf:Bag></pdfaExtension:schemas>\n";
    return description("xmlns:fx=\"" + std::string(kFacturXNamespace) + "\"", values) +
           description("xmlns:pdfaExtension=\"http://www.aiim.org/pdfa/ns/extension/\" "
                       "xmlns:pdfaSchema=\"http://www.aiim.org/pdfa/ns/schema#\" "
                       "xmlns:pdfaProperty=\"http://www.aiim.org/pdfa/ns/property#\"",
                       schema);
}

}  // namespace

std::string xmpPacket(const DocumentInfo& info, const InvoiceMetadata* invoice) {
    std::string dc = element("dc:format", "application/pdf");
    if (!info.title.empty())
        dc += alternative("dc:title", info.title);
    if (!info.author.empty())
        dc += "<dc:creator><rdf:Seq><rdf:li>" + escaped(info.author) +
              "</rdf:li></rdf:Seq></dc:creator>\n";
    if (!info.subject.empty())
        dc += alternative("dc:description", info.subject);
    std::string pdf = element("pdf:Producer", info.producer);
    if (!info.keywords.empty())
        pdf += element("pdf:Keywords", info.keywords);
    const std::string xmp = element("xmp:CreatorTool", info.producer) +
                            element("xmp:CreateDate", info.date) +
                            element("xmp:ModifyDate", info.date) +
                            element("xmp:MetadataDate", info.date);
    std::string body =
        description("xmlns:pdfaid=\"http://www.aiim.org/pdfa/ns/id/\"",
                    element("pdfaid:part", "3") + element("pdfaid:conformance", "B")) +
        description("xmlns:dc=\"http://purl.org/dc/elements/1.1/\"", dc) +
        description("xmlns:pdf=\"http://ns.adobe.com/pdf/1.3/\"", pdf) +
        description("xmlns:xmp=\"http://ns.adobe.com/xap/1.0/\"", xmp);
    if (invoice != nullptr)
        body += facturXDescriptions(*invoice);
    return "<?xpacket begin=\"\xEF\xBB\xBF\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?>\n"
           "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\">\n"
           "<rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">\n" +
           body + "</rdf:RDF>\n</x:xmpmeta>\n<?xpacket end=\"w\"?>";
}

}  // namespace korventa::refdriver
