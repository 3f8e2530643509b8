#include "refdriver/InvoiceSchemas.h"

#include <libxml/parser.h>
#include <libxml/xmlschemas.h>

#include <filesystem>

namespace korventa::refdriver {
namespace {

constexpr std::size_t kMaxErrors = 30;

struct DocumentFree {
    void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};
struct ParserContextFree {
    void operator()(xmlSchemaParserCtxt* context) const { xmlSchemaFreeParserCtxt(context); }
};
struct ValidContextFree {
    void operator()(xmlSchemaValidCtxt* context) const { xmlSchemaFreeValidCtxt(context); }
};

std::string trimmed(const char* text) {
    std::string result = text == nullptr ? "" : text;
    while (!result.empty() && (result.back() == '\n' || result.back() == ' ')) result.pop_back();
    return result;
}

// libxml2 hands each error to this instead of printing it.
void collectError(void* sink, xmlError* error) {
    auto& errors = *static_cast<std::vector<std::string>*>(sink);
    if (errors.size() < kMaxErrors) {
        errors.push_back("line " + std::to_string(error->line) + ": " + trimmed(error->message));
    }
}

void ignoreError(void* /*sink*/, xmlError* /*error*/) {}

}  // namespace

void InvoiceSchemas::SchemaFree::operator()(_xmlSchema* schema) const { xmlSchemaFree(schema); }

std::string InvoiceSchemas::fileFor(std::string_view conformanceLevel) {
    std::string profile = conformanceLevel == "XRECHNUNG" ? "EN16931" : std::string(conformanceLevel);
    std::erase(profile, ' ');
    return "Factur-X_1.07.3_" + profile + ".xsd";
}

const xmlSchema* InvoiceSchemas::schemaFor(const std::string& file, std::string& reason) {
    const std::lock_guard lock(mutex_);
    if (const auto known = schemas_.find(file); known != schemas_.end()) return known->second.get();
    const std::string path = folder_ + "/" + file;
    if (!std::filesystem::exists(path)) {
        reason = "the schema " + file + " is not installed in " + folder_;
        return nullptr;
    }
    std::unique_ptr<xmlSchemaParserCtxt, ParserContextFree> parser(
        xmlSchemaNewParserCtxt(path.c_str()));
    if (parser) xmlSchemaSetParserStructuredErrors(parser.get(), ignoreError, nullptr);
    std::unique_ptr<xmlSchema, SchemaFree> schema(parser ? xmlSchemaParse(parser.get()) : nullptr);
    if (!schema) {
        reason = "the schema " + path + " cannot be read";
        return nullptr;
    }
    return schemas_.emplace(file, std::move(schema)).first->second.get();
}

bool InvoiceSchemas::validate(std::string_view xml, std::string_view conformanceLevel,
                              std::vector<std::string>& errors, std::string& reason) {
    errors.clear();
    const xmlSchema* schema = schemaFor(fileFor(conformanceLevel), reason);
    if (schema == nullptr) return false;
    std::unique_ptr<xmlDoc, DocumentFree> doc(
        xmlReadMemory(xml.data(), static_cast<int>(xml.size()), "invoice.xml", nullptr,
                      XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING));
    if (!doc) {
        reason = "the invoice XML is not well-formed";
        return false;
    }
    // A validation context only reads the schema, so one schema serves every thread.
    std::unique_ptr<xmlSchemaValidCtxt, ValidContextFree> context(
        xmlSchemaNewValidCtxt(const_cast<xmlSchema*>(schema)));
    if (!context) {
        reason = "no memory to validate the invoice";
        return false;
    }
    xmlSchemaSetValidStructuredErrors(context.get(), collectError, &errors);
    if (xmlSchemaValidateDoc(context.get(), doc.get()) != 0 && errors.empty()) {
        errors.push_back("the invoice does not match " + fileFor(conformanceLevel));
    }
    return true;
}

}  // namespace korventa::refdriver
