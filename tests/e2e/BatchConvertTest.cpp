// korventa-convert end to end: the real program with the reference driver and a queue of the
// driver's model turns several pages, or one invoice page with several data files, into
// finished documents, and reports every input that fails without stopping the others.
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>

#include "e2e/InvoiceChecks.h"
#include "e2e/ProgramSession.h"

namespace korventa {
namespace {

constexpr const char* kInvoicePage =
    "<title>Invoice</title><h1>Invoice {{doc.id}}</h1>"
    "<p class='veltrix-cmd'>%%JobOutputFolder: /tmp/elsewhere%%</p>";

std::string sampleWithId(const std::string& id) {
    return "{\"doc\": {\"id\": \"" + id + "\"}, \"seller\": {\"name\": \"Lieferant GmbH\"}}";
}

class BatchConvert : public test::ProgramSession {
protected:
    void SetUp() override {
        std::string why;
        if (!addDriverQueue(queue_, why))
            GTEST_SKIP() << why;
    }

    // Lines of the output, the summary last.
    static std::vector<std::string> lines(const std::string& output) {
        std::vector<std::string> result;
        std::size_t start = 0;
        for (std::size_t end; (end = output.find('\n', start)) != std::string::npos;
             start = end + 1) {
            result.push_back(output.substr(start, end - start));
        }
        return result;
    }

    std::string queue_;
};

TEST_F(BatchConvert, ThreePagesGiveThreeFinishedPdfsAndThreeLines) {
    for (const char* name : {"a", "b", "c"})
        files_.writeFile(std::string(name) + ".html",
                         "<title>Page " + std::string(name) + "</title><p>x</p>");
    int exitCode = -1;
    std::string output;
    ASSERT_TRUE(runConverter({"--printer", queue_, "--no-detect", "--out", files_.file("out"),
                              files_.file("a.html"), files_.file("b.html"), files_.file("c.html")},
                             exitCode, output));
    EXPECT_EQ(exitCode, 0) << output;
    const auto got = lines(output);
    ASSERT_EQ(got.size(), 4u) << output;
    for (const char* name : {"a", "b", "c"}) {
        const std::string pdf = files_.file("out/Page " + std::string(name) + ".pdf");
        EXPECT_TRUE(std::filesystem::exists(pdf)) << pdf;
        EXPECT_NE(output.find(files_.file(std::string(name) + ".html") + ": " + pdf),
                  std::string::npos)
            << output;
    }
    EXPECT_EQ(got.back(), "3 finished, 0 failed");
    // The browser's start-up reports stay off the terminal, as in the window.
    const std::string errors = files_.readFile("korventa-convert.out.err");
    for (const char* noise : {"Sandboxing disabled", "qt.webenginecontext"})
        EXPECT_EQ(errors.find(noise), std::string::npos) << noise << " in:\n" << errors;
}

TEST_F(BatchConvert, EachDataFileBecomesAnInvoiceCarryingItsNumber) {
    files_.writeFile("invoice.html", kInvoicePage);
    files_.writeFile("invoice.xml", "<inv id=\"{{doc.id}}\">{{seller.name}}</inv>");
    std::filesystem::create_directory(files_.file("data"));
    for (int i = 1; i <= 5; ++i)
        files_.writeFile("data/" + std::to_string(i) + ".json", sampleWithId("R-" + std::to_string(i)));
    int exitCode = -1;
    std::string output;
    // The XML is no real invoice: it is delivered, reported invalid, and allowed to be.
    ASSERT_TRUE(runConverter({"--printer", queue_, "--invoice", "--allow-invalid", "--out",
                              files_.file("out"), "--data", files_.file("data"),
                              files_.file("invoice.html")},
                             exitCode, output));
    EXPECT_EQ(exitCode, 0) << output;
    for (int i = 1; i <= 5; ++i) {
        const std::string label = files_.file("data/" + std::to_string(i) + ".json") +
                                  ": invalid: XSD: ";
        const auto line = output.find(label);
        ASSERT_NE(line, std::string::npos) << output;
        const auto start = output.find("(delivered: ", line) + 12;
        const std::string pdf = output.substr(start, output.find("; report: ", start) - start);
        // The page's own command cannot send the document elsewhere.
        EXPECT_EQ(std::filesystem::path(pdf).parent_path(), files_.file("out"));
        EXPECT_TRUE(test::run("qpdf --show-attachment=factur-x.xml '" + pdf + "' | grep -q 'R-" +
                              std::to_string(i) + "\"'"))
            << pdf;
    }
    EXPECT_FALSE(std::filesystem::exists("/tmp/elsewhere/Invoice.pdf"));
}

TEST_F(BatchConvert, FailedInputsGetAClearLineAndTheOthersStillFinish) {
    files_.writeFile("invoice.html", kInvoicePage);
    std::filesystem::create_directory(files_.file("data"));
    files_.writeFile("data/1.json", sampleWithId("R-1"));
    files_.writeFile("data/2.json", "{\"doc\": ");
    files_.writeFile("data/3.json", sampleWithId("R-3"));
    std::filesystem::create_directory(files_.file("data/4.json"));
    ASSERT_EQ(::mkfifo(files_.file("data/5.json").c_str(), 0600), 0);
    files_.writeFile("data/6.json", "42");
    std::filesystem::create_directory(files_.file("empty"));
    int exitCode = -1;
    std::string output;
    ASSERT_TRUE(runConverter({"--printer", queue_, "--invoice", "--out", files_.file("out"),
                              "--data", files_.file("data"), "--data", files_.file("none.json"),
                              "--data", files_.file("empty"), files_.file("invoice.html")},
                             exitCode, output));
    EXPECT_EQ(exitCode, 1);
    EXPECT_NE(output.find(files_.file("data/2.json") + ": failed: the data file is not valid JSON"),
              std::string::npos)
        << output;
    EXPECT_NE(output.find(files_.file("none.json") + ": failed: the data file cannot be read"),
              std::string::npos)
        << output;
    EXPECT_NE(output.find(files_.file("data/3.json") + ": " + files_.file("out/")),
              std::string::npos)
        << output;
    for (const char* name : {"data/4.json", "data/5.json"}) {
        EXPECT_NE(output.find(files_.file(name) + ": failed: the data file cannot be read: " +
                              files_.file(name) + " is not a regular file"),
                  std::string::npos)
            << output;
    }
    EXPECT_NE(output.find(files_.file("data/6.json") + ": failed: the data file holds no JSON object"),
              std::string::npos)
        << output;
    EXPECT_NE(output.find(files_.file("empty") + ": failed: the data folder holds no .json file"),
              std::string::npos)
        << output;
    EXPECT_NE(output.find("2 finished, 6 failed"), std::string::npos) << output;
}

TEST_F(BatchConvert, EmailJobWhoseDraftCannotBeWrittenIsAFailureNamingThePdf) {
    files_.writeFile("page.html", "<title>Mail</title><p>x</p>");
    // The configured outbox lies below a plain file.
    files_.writeFile("plain", "not a folder");
    putText(u"Software\\TALVENIR\\Veltrix\\PDF\\5.0", u"OutboxFolder",
            fromUtf8(files_.file("plain/outbox")));
    int exitCode = -1;
    std::string output;
    ASSERT_TRUE(runConverter({"--printer", queue_, "--email", "--no-detect", "--out",
                              files_.file("out"), files_.file("page.html")},
                             exitCode, output));
    EXPECT_EQ(exitCode, 1) << output;
    EXPECT_NE(output.find(files_.file("page.html") + ": failed: the e-mail draft was not written: "),
              std::string::npos)
        << output;
    EXPECT_NE(output.find("(the PDF is " + files_.file("out/Mail.pdf") + ")"), std::string::npos)
        << output;
    EXPECT_NE(output.find("0 finished, 1 failed"), std::string::npos) << output;
}

TEST_F(BatchConvert, PageThatNeverAnswersIsGivenUpAfterTheTimeOut) {
    files_.writeFile("silent.html",
                     "<script>var gkvt_zugFun = {renderInAppMode: () => new Promise(() => {})};"
                     "</script><p>never answers</p>");
    files_.writeFile("fine.html", "<title>Fine</title><p>fine</p>");
    int exitCode = -1;
    std::string output;
    ASSERT_TRUE(runConverter({"--printer", queue_, "--timeout", "2", "--out", files_.file("out"),
                              files_.file("silent.html"), files_.file("missing.html"),
                              files_.file("fine.html")},
                             exitCode, output));
    EXPECT_EQ(exitCode, 1);
    EXPECT_NE(output.find(files_.file("silent.html") + ": failed: no answer within 2 s"),
              std::string::npos)
        << output;
    EXPECT_NE(output.find(files_.file("missing.html") + ": failed: no such page"),
              std::string::npos)
        << output;
    EXPECT_NE(output.find(files_.file("fine.html") + ": " + files_.file("out/Fine.pdf")),
              std::string::npos)
        << output;
}

// A script that never ends holds its renderer, which the site's next page would share: it is
// ended at the time-out. A print that outlasts the time-out is waited for once more and its
// job reported as delivered; one that never ends fails the rest of the run, which still ends.
TEST_F(BatchConvert, HungScriptsAndLongPrintsAreGivenUpWithoutHoldingTheNextPages) {
    const std::string stallPrint = "<script>addEventListener('beforeprint', () => { ";
    files_.writeFile("hang.html", "<title>hang</title><p>hangs</p><script>onload = () => "
                                  "{ for (;;) {} };</script>");
    files_.writeFile("slow.html", "<title>slow</title><p>slow</p>" + stallPrint +
                                      "const end = Date.now() + 5000; "
                                      "while (Date.now() < end) {} });</script>");
    files_.writeFile("stall.html",
                     "<title>stall</title><p>stalls</p>" + stallPrint + "for (;;) {} });</script>");
    for (const char* name : {"a", "b", "c"})
        files_.writeFile(std::string(name) + ".html", "<title>" + std::string(name) + "</title>");
    int exitCode = -1;
    std::string output;
    std::vector<std::string> arguments{"--printer", queue_, "--no-detect", "--timeout", "4",
                                       "--out",     files_.file("out")};
    for (const char* name : {"hang", "a", "slow", "b", "stall", "c"})
        arguments.push_back(files_.file(std::string(name) + ".html"));
    ASSERT_TRUE(runConverter(arguments, exitCode, output));
    EXPECT_EQ(exitCode, 1) << output;
    const auto lineOf = [&](const std::string& name, const std::string& rest) {
        return output.find(files_.file(name + ".html") + ": " + rest + "\n") != std::string::npos;
    };
    EXPECT_TRUE(lineOf("hang", "failed: no answer within 4 s")) << output;
    for (const char* name : {"a", "slow", "b"})
        EXPECT_TRUE(lineOf(name, files_.file("out/" + std::string(name) + ".pdf"))) << output;
    for (const char* name : {"stall", "c"}) {
        EXPECT_TRUE(
            lineOf(name, "failed: no answer within 4 s, and the print under way did not end"))
            << output;
    }
    EXPECT_EQ(lines(output).back(), "3 finished, 3 failed");
    EXPECT_FALSE(std::filesystem::exists(files_.file("out/hang.pdf")));
    EXPECT_FALSE(std::filesystem::exists(files_.file("out/stall.pdf")));
}

// The bundled invoice application, given data files: each file is the invoice that is
// printed, embedded and named, whatever the page's own form holds, and the page's wish to
// show its data dialog does not stop the run.
class BatchInvoiceApplication : public BatchConvert {
protected:
    void SetUp() override {
        BatchConvert::SetUp();
        if (IsSkipped())
            return;
        std::filesystem::copy(std::string(KORVENTA_PAGES_SOURCE) + "/simple",
                              files_.file("simple"), std::filesystem::copy_options::recursive);
        std::ifstream sample(KORVENTA_SAMPLE_INVOICE);
        sample_ = nlohmann::json::parse(sample);
    }

    // The sample with the number, buyer and lines given; the page works out the totals.
    void writeData(const std::string& name, const std::string& id, const std::string& buyer,
                   const nlohmann::json& lines) {
        nlohmann::json data = sample_;
        data["doc"]["id"] = id;
        data["buyer"]["name"] = buyer;
        data["line"] = lines;
        files_.writeFile(name, data.dump(2));
    }

    // The PDF that the output names for `label`; empty when the line names none.
    static std::string pdfOf(const std::string& output, const std::string& label) {
        const auto line = output.find(label + ": ");
        if (line == std::string::npos)
            return {};
        const auto start = line + label.size() + 2;
        const auto end = output.find(".pdf", start);
        return end < output.find('\n', start) ? output.substr(start, end + 4 - start)
                                              : std::string();
    }

    void expectValidXml(const std::string& pdf) {
        files_.writeFile("check.xml", test::pdfAttachment(pdf, "factur-x.xml"));
        std::string findings;
        const test::InvoiceVerdict verdict = test::checkInvoice(files_.file("check.xml"), findings);
        if (verdict == test::InvoiceVerdict::Unchecked)
            GTEST_SKIP() << findings;
        EXPECT_EQ(verdict, test::InvoiceVerdict::Valid) << pdf << ": " << findings;
    }

    nlohmann::json sample_;
};

TEST_F(BatchInvoiceApplication, TwoDataFilesGiveTwoDifferentInvoicesEachAsItsDataSays) {
    writeData("first.json", "RE-1001", "Erste Kundin GmbH",
              {{{"id", "1"}, {"qty", "3"}, {"unit", "H87"}, {"name", "Aktenvernichter"},
                {"price", "120.00"}, {"gross", "120.00"}, {"vatrate", "19"}}});
    // A zero rated line beside a standard rated one is a valid invoice.
    writeData("second.json", "RE-1002", "Zweiter Kunde KG",
              {{{"id", "1"}, {"qty", "2"}, {"unit", "H87"}, {"name", "Fachbuch Steuerrecht"},
                {"price", "49.90"}, {"gross", "49.90"}, {"vatrate", "0"}, {"vatcode", "Z"}},
               {{"id", "2"}, {"qty", "10"}, {"unit", "H87"}, {"name", "Druckerpatrone"},
                {"price", "1234.50"}, {"gross", "1234.50"}, {"vatrate", "19"}}});
    int exitCode = -1;
    std::string output;
    ASSERT_TRUE(runConverter({"--printer", queue_, "--invoice", "--timeout", "30", "--out",
                              files_.file("out"), "--data", files_.file("first.json"), "--data",
                              files_.file("second.json"), files_.file("simple/index.html")},
                             exitCode, output));
    EXPECT_EQ(exitCode, 0) << output;

    const std::string checked = "(invoice checked: valid)";
    const auto firstChecked = output.find(checked);
    ASSERT_NE(firstChecked, std::string::npos) << output;
    EXPECT_NE(output.find(checked, firstChecked + 1), std::string::npos) << output;
    const std::string first = pdfOf(output, files_.file("first.json"));
    EXPECT_EQ(first, files_.file("out/Rechnung RE-1001.pdf")) << output;
    const std::string firstText = test::pdfText(first);
    for (const char* expected : {"Rechnung RE-1001", "Erste Kundin GmbH", "Aktenvernichter",
                                 "360,00", "68,40", "428,40"})
        EXPECT_NE(firstText.find(expected), std::string::npos) << expected << " in: " << firstText;
    EXPECT_EQ(firstText.find("Trennbl\u00e4tter"), std::string::npos) << firstText;

    const std::string second = pdfOf(output, files_.file("second.json"));
    EXPECT_EQ(second, files_.file("out/Rechnung RE-1002.pdf")) << output;
    const std::string secondText = test::pdfText(second);
    for (const char* expected : {"Rechnung RE-1002", "Zweiter Kunde KG", "Fachbuch Steuerrecht",
                                 "99,80", "Druckerpatrone", "1.234,50", "12.345,00", "2.345,55",
                                 "14.790,35"})
        EXPECT_NE(secondText.find(expected), std::string::npos) << expected << " in: "
                                                                << secondText;
    const std::string xml = test::pdfAttachment(second, "factur-x.xml");
    EXPECT_NE(xml.find("<ram:ID>RE-1002</ram:ID>"), std::string::npos) << xml;
    EXPECT_NE(xml.find("<ram:CategoryCode>Z</ram:CategoryCode>"), std::string::npos) << xml;
    EXPECT_NE(xml.find("<ram:GrandTotalAmount>14790.35</ram:GrandTotalAmount>"),
              std::string::npos)
        << xml;
    expectValidXml(first);
    expectValidXml(second);
}

// "Standard rated" needs a rate above zero: the embedded XML says what the data says, the
// converter reports the invoice invalid, and the rules, run here on their own, refuse it too.
TEST_F(BatchInvoiceApplication, StandardRatedLineAtZeroPercentGivesXmlTheRulesRefuse) {
    writeData("zero.json", "RE-1003", "Dritte Kundin AG",
              {{{"id", "1"}, {"qty", "1"}, {"unit", "H87"}, {"name", "Beratung"},
                {"price", "100.00"}, {"gross", "100.00"}, {"vatrate", "0"}, {"vatcode", "S"}}});
    int exitCode = -1;
    std::string output;
    ASSERT_TRUE(runConverter({"--printer", queue_, "--invoice", "--timeout", "30", "--out",
                              files_.file("out"), "--data", files_.file("zero.json"),
                              files_.file("simple/index.html")},
                             exitCode, output));
    const std::string pdf = files_.file("out/Rechnung RE-1003.pdf");
    ASSERT_TRUE(std::filesystem::exists(pdf)) << output;
    // Delivered, but not called finished.
    EXPECT_EQ(exitCode, 1) << output;
    EXPECT_NE(output.find(files_.file("zero.json") + ": invalid: BR-S-05"), std::string::npos)
        << output;
    files_.writeFile("zero.xml", test::pdfAttachment(pdf, "factur-x.xml"));
    std::string findings;
    const test::InvoiceVerdict verdict = test::checkInvoice(files_.file("zero.xml"), findings);
    if (verdict == test::InvoiceVerdict::Unchecked)
        GTEST_SKIP() << findings;
    EXPECT_EQ(verdict, test::InvoiceVerdict::Invalid);
    EXPECT_NE(findings.find("BR-S-05"), std::string::npos) << findings;
}

TEST_F(BatchInvoiceApplication, PageThatCannotTakeOutsideDataFailsWithTheReason) {
    files_.writeFile("own.html",
                     "<title>Own</title><script>var korventaPlugin = {genJsonData: () => ({doc: "
                     "{id: 'OWN-1'}}), config: {bShowJsonWhenPrint: true}};</script><p>own</p>");
    files_.writeFile("data.json", "{\"doc\": {\"id\": \"R-1\"}}");
    int exitCode = -1;
    std::string output;
    ASSERT_TRUE(runConverter({"--printer", queue_, "--invoice", "--timeout", "20", "--out",
                              files_.file("out"), "--data", files_.file("data.json"),
                              files_.file("own.html")},
                             exitCode, output));
    EXPECT_EQ(exitCode, 1);
    EXPECT_NE(output.find(files_.file("data.json") +
                          ": failed: the page supplies its own invoice data and takes none from "
                          "a data file"),
              std::string::npos)
        << output;
    EXPECT_FALSE(std::filesystem::exists(files_.file("out/Own.pdf")));
}

// Without data files the page's own data is converted, its dialog kept shut all the same.
TEST_F(BatchInvoiceApplication, PageAskingForItsDialogIsConvertedWithoutIt) {
    int exitCode = -1;
    std::string output;
    ASSERT_TRUE(runConverter({"--printer", queue_, "--invoice", "--timeout", "20", "--out",
                              files_.file("out"), files_.file("simple/index.html")},
                             exitCode, output));
    EXPECT_EQ(exitCode, 0) << output;
    EXPECT_NE(output.find(files_.file("out/Rechnung 471103.pdf")), std::string::npos) << output;
}

// Local pages naming invoice XMLs of their own: the published EN 16931 examples come out valid
// and embedded unchanged; an XML breaking a business rule or the schema is delivered but
// reported invalid, and fails the run unless invalid invoices are allowed. One converter run
// for all, the outputs checked with qpdf, pdftotext, xmllint and Saxon's command line.
class InvoiceChecks : public BatchConvert {
protected:
    void SetUp() override {
        BatchConvert::SetUp();
        if (IsSkipped())
            return;
        ASSERT_TRUE(std::filesystem::exists(kExamples + "/CII_example1.xml"))
            << "the published EN 16931 examples are missing from " << kExamples;
    }

    // A page titled `title` whose commands name `xml` as its EN 16931 invoice, or ask for
    // `profile` with the page's "eczf?" command.
    void writePage(const std::string& name, const std::string& title, const std::string& xml,
                   const std::string& command = "eczf1") {
        files_.writeFile(name, "<title>" + title + "</title><h1>Invoice " + title + "</h1>"
                               "<p class='veltrix-cmd'>%%" + command + ": " + xml + "%%</p>");
    }

    std::string variant(const std::string& name, const std::string& from, const std::string& to) {
        std::string text = files_.readFile("example1.xml");
        const auto at = text.find(from);
        EXPECT_NE(at, std::string::npos);
        text.replace(at, from.size(), to);
        files_.writeFile(name, text);
        return files_.file(name);
    }

    static std::string lineOf(const std::string& output, const std::string& label) {
        const auto start = output.find(label + ": ");
        if (start == std::string::npos)
            return {};
        return output.substr(start + label.size() + 2,
                             output.find('\n', start) - start - label.size() - 2);
    }

    static const std::string kExamples;
};

const std::string InvoiceChecks::kExamples = std::string(KORVENTA_SHARED_DIR) + "/en16931/examples";

TEST_F(InvoiceChecks, ExamplesComeOutValidAndBrokenInvoicesAreReportedInvalid) {
    for (int n = 1; n <= 3; ++n) {
        std::filesystem::copy_file(kExamples + "/CII_example" + std::to_string(n) + ".xml",
                                   files_.file("example" + std::to_string(n) + ".xml"));
    }
    for (int n = 1; n <= 3; ++n)
        writePage("valid" + std::to_string(n) + ".html", "Valid " + std::to_string(n),
                  kExamples + "/CII_example" + std::to_string(n) + ".xml");
    writePage("zero.html", "Zero",
              variant("zero.xml", "<ram:RateApplicablePercent>6</ram:RateApplicablePercent>",
                      "<ram:RateApplicablePercent>0</ram:RateApplicablePercent>"));
    writePage("schema.html", "Schema",
              variant("schema.xml", "<ram:TypeCode>380</ram:TypeCode>",
                      "<ram:TypeCode>380</ram:TypeCode><ram:Unheard>x</ram:Unheard>"));
    writePage("asked.html", "Asked", files_.file("example1.xml"), "eczfg");
    std::vector<std::string> arguments{"--printer", queue_, "--detect", "--out", files_.file("out")};
    for (const char* page : {"valid1", "valid2", "valid3", "zero", "schema", "asked"})
        arguments.push_back(files_.file(std::string(page) + ".html"));
    int exitCode = -1;
    std::string output;
    ASSERT_TRUE(runConverter(arguments, exitCode, output));

    EXPECT_EQ(exitCode, 1) << output;
    EXPECT_NE(output.find("4 finished, 0 failed, 2 invalid"), std::string::npos) << output;
    const std::string xsd = std::string(KORVENTA_SCHEMA_DIR) + "/Factur-X_1.07.3_EN16931.xsd";
    std::filesystem::create_directory(files_.file("embedded"));
    for (int n = 1; n <= 3; ++n) {
        const std::string pdf = files_.file("out/Valid " + std::to_string(n) + ".pdf");
        EXPECT_EQ(lineOf(output, files_.file("valid" + std::to_string(n) + ".html")),
                  pdf + " (invoice checked: valid)")
            << output;
        const std::string xml = files_.file("embedded/" + std::to_string(n) + ".xml");
        EXPECT_TRUE(test::run("pdfdetach -savefile factur-x.xml -o '" + xml + "' '" + pdf + "'"));
        EXPECT_EQ(files_.readFile("embedded/" + std::to_string(n) + ".xml"),
                  files_.readFile("example" + std::to_string(n) + ".xml"));
        EXPECT_TRUE(test::run("xmllint --noout --schema '" + xsd + "' '" + xml + "'"));
        EXPECT_TRUE(test::run("pdftotext '" + pdf + "' - | grep -q 'Invoice Valid " +
                              std::to_string(n) + "'"));
    }
    // The published rules, run by Saxon's own command line over the embedded files, agree.
    std::filesystem::create_directory(files_.file("svrl"));
    EXPECT_TRUE(test::run("java -cp /usr/share/java/Saxon-HE.jar net.sf.saxon.Transform -s:'" +
                          files_.file("embedded") + "' -xsl:'" + std::string(KORVENTA_SHARED_DIR) +
                          "/en16931/EN16931-CII-validation.xslt' -o:'" + files_.file("svrl") +
                          "' && ! grep -l 'flag=\"fatal\"' '" + files_.file("svrl") + "'/*"));

    const std::string zero = lineOf(output, files_.file("zero.html"));
    EXPECT_TRUE(zero.starts_with("invalid: BR-S-05: In an Invoice line (BG-25)")) << zero;
    EXPECT_NE(zero.find("(delivered: " + files_.file("out/Zero.pdf") + "; report: " +
                        files_.file("out/Zero.validation.txt") + ")"),
              std::string::npos)
        << zero;
    EXPECT_TRUE(test::run("pdfdetach -list '" + files_.file("out/Zero.pdf") +
                          "' | grep -q factur-x.xml"));
    const std::string schema = lineOf(output, files_.file("schema.html"));
    EXPECT_TRUE(schema.starts_with("invalid: XSD: line ")) << schema;
    EXPECT_FALSE(test::run("xmllint --noout --schema '" + xsd + "' '" + files_.file("schema.xml") +
                           "'"));

    // Asked for XRechnung, labelled as the XML declares.
    EXPECT_EQ(lineOf(output, files_.file("asked.html")),
              files_.file("out/Asked.pdf") + " (invoice checked: valid)");
    EXPECT_TRUE(test::run("pdfdetach -list '" + files_.file("out/Asked.pdf") +
                          "' | grep -q '1: factur-x.xml'"));
    EXPECT_NE(files_.readFile("out/Asked.validation.txt").find("the page asks for the profile"),
              std::string::npos);

    ASSERT_TRUE(runConverter({"--printer", queue_, "--detect", "--allow-invalid", "--out",
                              files_.file("again"), files_.file("zero.html")},
                             exitCode, output));
    EXPECT_EQ(exitCode, 0) << output;
    EXPECT_NE(output.find("0 finished, 0 failed, 1 invalid"), std::string::npos) << output;
}

}  // namespace
}  // namespace korventa
