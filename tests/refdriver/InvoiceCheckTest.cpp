// The invoice check of the real driver library on the published EN 16931 examples and on
// variants of them that break the schema or a business rule. Every verdict is held against
// what independent tools say about the same bytes: xmllint for the schema, Saxon's own
// command line with the published rules, qpdf for what was embedded.
#include <gtest/gtest.h>
#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFWriter.hh>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <unistd.h>

#include "driver/DriverAbi.h"
#include "driver/DriverLibrary.h"
#include "driver/DriverNames.h"
#include "driver/FakeSpooler.h"
#include "driver/FinishedJobEntry.h"
#include "driver/HiveWriter.h"
#include "driver/KeyValues.h"
#include "refdriver/JobFiles.h"
#include "support/TempDir.h"

namespace korventa {
namespace {

namespace fs = std::filesystem;

using test::onePagePdf;
using test::putText;
using test::readBytes;
using test::textOf;
using test::userHive;
using test::writeBytes;

const WString kPrefix = u"KORVENTAJob\\Inst001\\";
const std::string kExamples = std::string(KORVENTA_SHARED_DIR) + "/en16931/examples";
const std::string kRules = std::string(KORVENTA_SHARED_DIR) + "/en16931/EN16931-CII-validation.xslt";
const std::string kSchema = std::string(KORVENTA_SCHEMA_DIR) + "/Factur-X_1.07.3_EN16931.xsd";

// Standard output of a shell command; `ok` tells whether it exited with 0.
std::string commandOutput(const std::string& command, bool* ok = nullptr) {
    FILE* pipe = ::popen((command + " 2>/dev/null").c_str(), "r");
    std::string output;
    std::array<char, 4096> chunk{};
    while (pipe != nullptr) {
        const std::size_t count = std::fread(chunk.data(), 1, chunk.size(), pipe);
        if (count == 0) break;
        output.append(chunk.data(), count);
    }
    const int status = pipe == nullptr ? -1 : ::pclose(pipe);
    if (ok != nullptr) *ok = status == 0;
    return output;
}

std::string replacedOnce(std::string text, const std::string& from, const std::string& to) {
    const auto at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

std::string valueOr(const SettingsMap& entry, WStringView name, WStringView otherwise) {
    const auto found = entry.find(WString(name));
    return toUtf8(found == entry.end() ? WString(otherwise) : found->second);
}

// The IDs of an SVRL report's fatal failed asserts, sorted, one a line; read with sed and sort
// rather than our parser.
std::string fatalIds(const std::string& svrl) {
    test::TempDir scratch;
    scratch.writeFile("report.svrl", svrl);
    return commandOutput("tr '\\n' ' ' < '" + scratch.file("report.svrl") +
                         "' | sed 's/<svrl:failed-assert/\\n&/g' | "
                         "grep '^<svrl:failed-assert[^>]* flag=\"fatal\"' | "
                         "sed 's/^<svrl:failed-assert[^>]* id=\"\\([^\"]*\\)\".*/\\1/' | sort");
}

// The IDs of the entry's "ID: text" lines, sorted, one a line.
std::string ruleIds(const std::string& lines) {
    std::vector<std::string> ids;
    std::istringstream in(lines);
    for (std::string line; std::getline(in, line);) ids.push_back(line.substr(0, line.find(':')));
    std::sort(ids.begin(), ids.end());
    std::string text;
    for (const auto& id : ids) text += id + "\n";
    return text;
}

class InvoiceCheck : public testing::Test {
protected:
    InvoiceCheck() : library_(DriverLibrary::load()) {
        putText(userHive(), DriverRegistryRoot, u"DestFolder", fromUtf8(dest_.path()));
    }

    void SetUp() override {
        ASSERT_TRUE(library_.isLoaded());
        ASSERT_TRUE(fs::exists(kExamples + "/CII_example1.xml"))
            << "the published EN 16931 examples are missing from " << kExamples;
        ASSERT_TRUE(fs::exists(kRules)) << "the published EN 16931 rules are missing: " << kRules;
    }

    static WString keyName(std::uint32_t number) { return kPrefix + decimalText(number); }

    // Prepares and finishes job `number` titled `title` whose page named `xml` as its invoice.
    SettingsMap finishInvoice(std::uint32_t number, WStringView title, const std::string& xml,
                              WStringView requestedProfile = {}) {
        DriverPrinter printer;
        EXPECT_TRUE(DriverPrinter::open(spooler_, u"Veltrix PDF Pro", printer));
        EXPECT_EQ(library_.DocGetDocInfo2(printer, kPrefix, title, number, true, false), VELT_OK);
        const WString key = driverKeyPath(keyName(number));
        const std::string folder =
            toUtf8(textOf(userHive(), key, u"JobTempPath").value_or(u"/nonexistent"));
        writeBytes(folder + "/efn1234.tmp", onePagePdf());
        putText(userHive(), key, u"JobTempPDF", fromUtf8(folder + "/efn1234.tmp"));
        putText(userHive(), key, u"AnnZUGFeRD", fromUtf8(xml));
        if (!requestedProfile.empty()) putText(userHive(), key, u"AnnZUGProfile", requestedProfile);
        EXPECT_EQ(library_.DEXU_PostActionProc(keyName(number), u""), VELT_OK);
        return test::finishedEntry(keyName(number));
    }

    // A variant of the first example, written into the session's folder.
    std::string variant(const std::string& name, const std::string& from, const std::string& to) {
        const std::string path = work_.file(name);
        writeBytes(path, replacedOnce(readBytes(kExamples + "/CII_example1.xml"), from, to));
        return path;
    }

    // The report Saxon's own command line writes with the published rules.
    static std::string rulesVerdict(const std::string& xml) {
        bool ok = false;
        const std::string svrl = commandOutput(
            "java -cp /usr/share/java/Saxon-HE.jar net.sf.saxon.Transform -s:'" + xml +
                "' -xsl:'" + kRules + "'",
            &ok);
        EXPECT_TRUE(ok) << svrl.substr(0, 300);
        return svrl;
    }

    static bool schemaAccepts(const std::string& xml) {
        bool ok = false;
        (void)commandOutput("xmllint --noout --schema '" + kSchema + "' '" + xml + "'", &ok);
        return ok;
    }

    std::string embedded(const std::string& pdf, const std::string& name) const {
        return commandOutput("qpdf --show-attachment=" + name + " '" + pdf + "'");
    }

    test::ScopedHives hives_;
    test::TempDir work_;
    test::TempDir dest_;
    test::FakeSpooler spooler_{std::vector<PrinterInfo>{{u"Veltrix PDF Pro", u"Veltrix PDF Pro"}}};
    DriverLibrary library_;
};

TEST_F(InvoiceCheck, PublishedExamplesAreValidAndEmbeddedUnchanged) {
    for (std::uint32_t n = 1; n <= 3; ++n) {
        const std::string xml = kExamples + "/CII_example" + std::to_string(n) + ".xml";
        const std::string title = "Example " + std::to_string(n);
        const SettingsMap entry = finishInvoice(100 + n, fromUtf8(title), xml);

        EXPECT_EQ(valueOr(entry, u"Result", u"(none)"), "OK");
        EXPECT_EQ(valueOr(entry, u"InvoiceCheck", u"(none)"), "valid")
            << valueOr(entry, u"InvoiceCheckRules", u"") << valueOr(entry, u"InvoiceCheckWarnings", u"");
        EXPECT_EQ(valueOr(entry, u"InvoiceCheckRules", u""), "");
        const std::string pdf = dest_.file(title + ".pdf");
        EXPECT_EQ(embedded(pdf, "factur-x.xml"), readBytes(xml)) << title;
        const std::string report = dest_.file(title + ".validation.txt");
        EXPECT_EQ(valueOr(entry, u"InvoiceCheckReport", u""), report);
        EXPECT_TRUE(readBytes(report).starts_with("Invoice check: valid\n")) << readBytes(report);
        EXPECT_NE(readBytes(report).find("passed Factur-X_1.07.3_EN16931.xsd"), std::string::npos);
    }
}

// A 0 % line marked "standard rated" once finished as a clean OK.
TEST_F(InvoiceCheck, StandardRatedLineAtZeroPercentIsInvalidYetDelivered) {
    const std::string xml =
        variant("zero-rate.xml", "<ram:RateApplicablePercent>6</ram:RateApplicablePercent>",
                "<ram:RateApplicablePercent>0</ram:RateApplicablePercent>");
    ASSERT_TRUE(schemaAccepts(xml));
    const std::string svrl = rulesVerdict(xml);
    ASSERT_NE(fatalIds(svrl).find("BR-S-05"), std::string::npos);

    const SettingsMap entry = finishInvoice(101, u"Zero rate", xml);

    EXPECT_EQ(valueOr(entry, u"Result", u"(none)"), "OK") << "the document is still delivered";
    EXPECT_EQ(valueOr(entry, u"InvoiceCheck", u"(none)"), "invalid");
    const std::string rules = valueOr(entry, u"InvoiceCheckRules", u"");
    EXPECT_TRUE(rules.starts_with("BR-S-05: In an Invoice line (BG-25) where the Invoiced item VAT "
                                  "category code (BT-151) is \"Standard rated\" the Invoiced item "
                                  "VAT rate (BT-152) shall be greater than zero.\n"))
        << rules;
    EXPECT_EQ(ruleIds(rules), fatalIds(svrl));
    EXPECT_EQ(rules.find("XSD:"), std::string::npos) << rules;
    EXPECT_EQ(embedded(dest_.file("Zero rate.pdf"), "factur-x.xml"), readBytes(xml));
    const std::string report = readBytes(dest_.file("Zero rate.validation.txt"));
    EXPECT_TRUE(report.starts_with("Invoice check: invalid\n")) << report;
    EXPECT_NE(report.find("  BR-S-05: "), std::string::npos) << report;
}

TEST_F(InvoiceCheck, XmlTheSchemaRefusesIsInvalidWithTheSchemasReason) {
    const std::string xml = variant("bad-schema.xml", "<ram:TypeCode>380</ram:TypeCode>",
                                    "<ram:TypeCode>380</ram:TypeCode><ram:Note>early</ram:Note>"
                                    "<ram:Unheard>x</ram:Unheard>");
    ASSERT_FALSE(schemaAccepts(xml));

    const SettingsMap entry = finishInvoice(101, u"Bad schema", xml);

    EXPECT_EQ(valueOr(entry, u"InvoiceCheck", u"(none)"), "invalid");
    const std::string rules = valueOr(entry, u"InvoiceCheckRules", u"");
    EXPECT_TRUE(rules.starts_with("XSD: line 23: ")) << rules;
    EXPECT_NE(rules.find("This element is not expected"), std::string::npos) << rules;
    EXPECT_TRUE(fs::exists(dest_.file("Bad schema.pdf")));
    EXPECT_NE(readBytes(dest_.file("Bad schema.validation.txt"))
                  .find("failed Factur-X_1.07.3_EN16931.xsd"),
              std::string::npos);
}

// A page's XRechnung request once relabelled an EN 16931 XML, and readers found no invoice.
TEST_F(InvoiceCheck, XrechnungRequestOverAnEn16931XmlKeepsTheXmlsProfileAndWarns) {
    const std::string xml = kExamples + "/CII_example2.xml";
    const SettingsMap entry = finishInvoice(101, u"Asked", xml, u"XRECHNUNG");

    const std::string pdf = dest_.file("Asked.pdf");
    EXPECT_EQ(embedded(pdf, "factur-x.xml"), readBytes(xml));
    EXPECT_EQ(embedded(pdf, "xrechnung.xml").find("<?xml"), std::string::npos);
    const std::string plain = work_.file("plain.pdf");
    (void)commandOutput("qpdf --qdf --object-streams=disable '" + pdf + "' '" + plain + "'");
    EXPECT_NE(readBytes(plain).find("<fx:ConformanceLevel>EN 16931</fx:ConformanceLevel>"),
              std::string::npos);
    EXPECT_EQ(valueOr(entry, u"InvoiceCheck", u"(none)"), "valid");
    const std::string warnings = valueOr(entry, u"InvoiceCheckWarnings", u"");
    EXPECT_TRUE(warnings.starts_with("the page asks for the profile \"XRECHNUNG\"")) << warnings;
    EXPECT_NE(readBytes(dest_.file("Asked.validation.txt")).find(warnings.substr(0, 40)),
              std::string::npos);
}

TEST_F(InvoiceCheck, WithoutJavaTheRulesAreNotCheckedAndNothingIsCalledValid) {
    const char* path = std::getenv("PATH");
    const std::string saved = path == nullptr ? "" : path;
    ::setenv("PATH", work_.path().c_str(), 1);
    const SettingsMap entry = finishInvoice(101, u"No Java", kExamples + "/CII_example1.xml");
    const SettingsMap second = finishInvoice(102, u"Again", kExamples + "/CII_example3.xml");
    ::setenv("PATH", saved.c_str(), 1);

    EXPECT_EQ(valueOr(entry, u"InvoiceCheck", u"(none)"), "not checked");
    EXPECT_EQ(valueOr(second, u"InvoiceCheck", u"(none)"), "not checked");
    EXPECT_NE(valueOr(entry, u"InvoiceCheckWarnings", u"").find("Java is not installed"),
              std::string::npos);
    EXPECT_TRUE(fs::exists(dest_.file("No Java.pdf")));
    EXPECT_NE(readBytes(dest_.file("No Java.validation.txt")).find("Invoice check: not checked"),
              std::string::npos);
}

// The first check waits for the checker's start; the print of the next document on the window
// thread must not wait with it. The stand-in checker takes the request and answers nothing
// until the test lets it end; after 20 s it gives up and leaves a mark, so a print that waited
// for it is told apart from one that did not. The loaded library keeps one checker per
// process, so the case runs in a process of its own, where the stand-in is the first.
TEST_F(InvoiceCheck, APrintDoesNotWaitForTheCheckUnderWay) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    work_.writeFile("java", "#!/bin/sh\nhead -c 1 >/dev/null\n: > '" + work_.file("asked") +
                                "'\nfor i in $(seq 400); do [ -e '" + work_.file("go") +
                                "' ] && exit 0; sleep 0.05; done\n: > '" + work_.file("gave-up") +
                                "'\n");
    fs::permissions(work_.file("java"), fs::perms::owner_all);
    const char* path = std::getenv("PATH");
    ::setenv("PATH", (work_.path() + ":" + (path == nullptr ? "" : path)).c_str(), 1);
    EXPECT_EXIT(
        {
            SettingsMap stalled;
            std::thread checking(
                [&] { stalled = finishInvoice(103, u"Stalled", kExamples + "/CII_example1.xml"); });
            while (!fs::exists(work_.file("asked"))) ::usleep(10000);
            DriverPrinter printer;
            const bool printed =
                DriverPrinter::open(spooler_, u"Veltrix PDF Pro", printer) &&
                library_.DocGetDocInfo2(printer, kPrefix, u"Next", 104, true, false) == VELT_OK;
            const bool waited = fs::exists(work_.file("gave-up"));
            work_.writeFile("go", "");
            checking.join();
            const bool told = valueOr(stalled, u"InvoiceCheck", u"") == "not checked";
            std::exit(printed && !waited && told ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace korventa
