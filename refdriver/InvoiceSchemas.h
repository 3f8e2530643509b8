// The Factur-X 1.07.3 schemas, one per profile, read from the driver's schema folder the first
// time a profile is needed and kept for the owner's life (parsing the EN 16931 set takes longer
// than a validation). Validation runs on the caller's thread; any number of threads at once.
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

struct _xmlSchema;  // libxml2's parsed schema, kept out of the callers' includes

namespace korventa::refdriver {

class InvoiceSchemas {
public:
    // `folder` holds Factur-X_1.07.3_<PROFILE>.xsd and the files they import.
    explicit InvoiceSchemas(std::string folder) : folder_(std::move(folder)) {}

    // The schema file for a conformance level ("EN 16931", "BASIC WL", ...); XRechnung is
    // written against the EN 16931 set.
    [[nodiscard]] static std::string fileFor(std::string_view conformanceLevel);

    // Validates `xml` against the level's schema; `errors` gets one "line N: message" per
    // error (at most a few dozen). False with a reason when the schema cannot be had.
    [[nodiscard]] bool validate(std::string_view xml, std::string_view conformanceLevel,
                                std::vector<std::string>& errors, std::string& reason);

private:
    struct SchemaFree {
        void operator()(_xmlSchema* schema) const;
    };

    [[nodiscard]] const _xmlSchema* schemaFor(const std::string& file, std::string& reason);

    std::string folder_;
    std::mutex mutex_;  // guards the map; a parsed schema is only read afterwards
    std::map<std::string, std::unique_ptr<_xmlSchema, SchemaFree>> schemas_;
};

}  // namespace korventa::refdriver
