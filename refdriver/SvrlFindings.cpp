#include "refdriver/SvrlFindings.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <cstring>
#include <memory>

namespace korventa::refdriver {
namespace {

constexpr const char* kSvrlNamespace = "http://purl.oclc.org/dsdl/svrl";

struct DocumentFree {
    void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};
struct XmlCharFree {
    void operator()(xmlChar* text) const { xmlFree(text); }
};

bool isSvrl(const xmlNode* node, const char* name) {
    return node->type == XML_ELEMENT_NODE && node->ns != nullptr &&
           std::strcmp(reinterpret_cast<const char*>(node->ns->href), kSvrlNamespace) == 0 &&
           std::strcmp(reinterpret_cast<const char*>(node->name), name) == 0;
}

// Runs of white space become one space; none at either end.
std::string collapsed(const xmlChar* raw) {
    std::string text;
    bool space = false;
    for (const char* c = reinterpret_cast<const char*>(raw); *c != '\0'; ++c) {
        if (*c == ' ' || *c == '\t' || *c == '\r' || *c == '\n') {
            space = !text.empty();
            continue;
        }
        if (space) text += ' ';
        space = false;
        text += *c;
    }
    return text;
}

std::string attribute(xmlNode* node, const char* name) {
    std::unique_ptr<xmlChar, XmlCharFree> value(
        xmlGetProp(node, reinterpret_cast<const xmlChar*>(name)));
    return value ? collapsed(value.get()) : std::string();
}

std::string messageOf(const xmlNode* finding, const std::string& id) {
    for (xmlNode* child = finding->children; child != nullptr; child = child->next) {
        if (!isSvrl(child, "text")) continue;
        std::unique_ptr<xmlChar, XmlCharFree> content(xmlNodeGetContent(child));
        std::string text = content ? collapsed(content.get()) : std::string();
        const std::string prefix = "[" + id + "]-";
        if (!id.empty() && text.starts_with(prefix)) text.erase(0, prefix.size());
        return text;
    }
    return {};
}

RuleFinding findingOf(xmlNode* node) {
    RuleFinding finding;
    finding.id = attribute(node, "id");
    finding.location = attribute(node, "location");
    const std::string flag = attribute(node, "flag");
    finding.fatal = flag.empty() || flag == "fatal" || flag == "error";
    finding.text = messageOf(node, finding.id);
    if (finding.id.empty()) finding.id = "rule";
    return finding;
}

// The findings sit below the root, between the rule groups' markers.
void collect(xmlNode* node, std::vector<RuleFinding>& findings) {
    for (; node != nullptr; node = node->next) {
        if (isSvrl(node, "failed-assert") || isSvrl(node, "successful-report")) {
            findings.push_back(findingOf(node));
        } else if (node->type == XML_ELEMENT_NODE) {
            collect(node->children, findings);
        }
    }
}

}  // namespace

bool parseSvrl(std::string_view svrl, std::vector<RuleFinding>& findings, std::string& error) {
    findings.clear();
    std::unique_ptr<xmlDoc, DocumentFree> doc(
        xmlReadMemory(svrl.data(), static_cast<int>(svrl.size()), "report.svrl", nullptr,
                      XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING));
    const xmlNode* root = doc ? xmlDocGetRootElement(doc.get()) : nullptr;
    if (root == nullptr || !isSvrl(root, "schematron-output")) {
        error = "the rules' report is not an SVRL document";
        return false;
    }
    collect(root->children, findings);
    return true;
}

}  // namespace korventa::refdriver
