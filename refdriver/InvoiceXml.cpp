#include "refdriver/InvoiceXml.h"

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xpath.h>

#include <algorithm>
#include <cctype>
#include <memory>

namespace korventa::refdriver {
namespace {

struct DocumentFree {
    void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};
struct XPathContextFree {
    void operator()(xmlXPathContext* context) const { xmlXPathFreeContext(context); }
};
struct XPathObjectFree {
    void operator()(xmlXPathObject* object) const { xmlXPathFreeObject(object); }
};
struct XmlCharFree {
    void operator()(xmlChar* text) const { xmlFree(text); }
};

constexpr const char* kGuidelinePath =
    "//*[local-name()='GuidelineSpecifiedDocumentContextParameter']/*[local-name()='ID']";

std::string trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r\n");
    return std::string(text.substr(first, last - first + 1));
}

std::string upper(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return result;
}

std::string guidelineIn(xmlDoc* doc) {
    std::unique_ptr<xmlXPathContext, XPathContextFree> context(xmlXPathNewContext(doc));
    if (!context)
        return {};
    std::unique_ptr<xmlXPathObject, XPathObjectFree> found(
        xmlXPathEvalExpression(reinterpret_cast<const xmlChar*>(kGuidelinePath), context.get()));
    if (!found || found->nodesetval == nullptr || found->nodesetval->nodeNr == 0)
        return {};
    std::unique_ptr<xmlChar, XmlCharFree> text(xmlNodeGetContent(found->nodesetval->nodeTab[0]));
    return text ? trimmed(reinterpret_cast<const char*>(text.get())) : std::string();
}

// The conformance level a guideline ID names; empty when it names none we know.
std::string levelOfGuideline(std::string_view id) {
    const std::string name = upper(id);
    if (name.find("XRECHNUNG") != std::string::npos)
        return "XRECHNUNG";
    if (name.find("EXTENDED") != std::string::npos)
        return "EXTENDED";
    if (name.find("BASICWL") != std::string::npos)
        return "BASIC WL";
    if (name.find(":BASIC") != std::string::npos)
        return "BASIC";
    if (name.find("MINIMUM") != std::string::npos)
        return "MINIMUM";
    if (name.find("URN:CEN.EU:EN16931:2017") != std::string::npos)
        return "EN 16931";
    return {};
}

std::string levelOfName(std::string_view requested) {
    std::string name = upper(trimmed(requested));
    std::replace(name.begin(), name.end(), '_', ' ');
    for (const char* level : {"MINIMUM", "BASIC WL", "BASIC", "EN 16931", "EXTENDED", "XRECHNUNG"}) {
        if (name == level)
            return level;
    }
    if (name == "EN16931" || name == "COMFORT")
        return "EN 16931";
    if (name == "BASICWL")
        return "BASIC WL";
    return {};
}

}  // namespace

bool checkInvoiceXml(std::string_view xml, std::string& guidelineId, std::string& error) {
    guidelineId.clear();
    if (xml.empty()) {
        error = "the invoice XML is empty";
        return false;
    }
    std::unique_ptr<xmlDoc, DocumentFree> doc(
        xmlReadMemory(xml.data(), static_cast<int>(xml.size()), "invoice.xml", nullptr,
                      XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING));
    if (!doc) {
        const xmlError* last = xmlGetLastError();
        error = "the invoice XML is not well-formed";
        if (last != nullptr && last->message != nullptr)
            error += ": line " + std::to_string(last->line) + ": " + trimmed(last->message);
        return false;
    }
    guidelineId = guidelineIn(doc.get());
    return true;
}

InvoiceProfile invoiceProfile(std::string_view requestedProfile, std::string_view guidelineId,
                              std::string& warning) {
    warning.clear();
    const std::string requested = trimmed(requestedProfile);
    const std::string asked = levelOfName(requested);
    std::string level = levelOfGuideline(guidelineId);
    if (!level.empty() && !requested.empty() && asked != level) {
        warning = "the page asks for the profile \"" + requested + "\", the XML declares " +
                  level + " (" + std::string(guidelineId) + "): labelled as the XML declares";
    } else if (level.empty() && !guidelineId.empty()) {
        warning = "the XML's guideline ID \"" + std::string(guidelineId) +
                  "\" names no profile known here";
    }
    if (level.empty())
        level = asked;
    if (level.empty())
        level = "EN 16931";
    const bool reference = level == "MINIMUM" || level == "BASIC WL";
    return {level, level == "XRECHNUNG" ? "xrechnung.xml" : "factur-x.xml",
            reference ? "Data" : "Alternative"};
}

}  // namespace korventa::refdriver
