// Invoices of one page printed many to a document by korventa-convert, cut into one PDF each:
// every one must equal the PDF the same invoice gets when printed on its own, as tools we did
// not write see them (pdfinfo, pdftotext, pdffonts, qpdf), including the invoice whose page
// commands differ from its neighbours' and the one that spans three pages.
#include <array>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "e2e/ProgramSession.h"

namespace korventa {
namespace {

constexpr int kInvoices = 11;  // more than one print takes, so a chunk boundary is crossed
constexpr int kLongInvoice = 6;     // spans three pages
constexpr int kRenamedInvoice = 4;  // its own commands name its file

constexpr const char* kTemplatePage =
    "<!DOCTYPE html><html><head><title>Invoice</title><style>"
    "body { font-family: sans-serif; margin: 12px 20px; } h1 { margin-top: 30px; }"
    ".line { height: 24px; margin: 0; }</style></head><body>"
    "<h1>Invoice {{doc.id}}</h1><p>Buyer: <a href='https://example.com/{{doc.id}}'>"
    "{{buyer}}</a></p>"
    "{{#each lines}}<p class='line'>Line {{@index}}: {{this}} EUR</p>{{/each}}"
    "{{#if rename}}<p class='veltrix-cmd'>%%DestFileName: Renamed {{doc.id}}%%</p>{{/if}}"
    "<p class='veltrix-cmd'>%%DocTitle: Invoice {{doc.id}}%%</p><p><b>Total due {{total}}</b></p></body></html>";

std::string invoiceId(int invoice) {
    return "R-" + std::to_string(100 + invoice);
}

// Lengths from a few lines to three pages; names and amounts differ per invoice.
std::string invoiceData(int invoice) {
    const int lines = invoice == kLongInvoice ? 85 : 2 + invoice * 3;
    std::string list;
    for (int line = 0; line < lines; ++line)
        list += (line == 0 ? "\"" : ", \"") + std::to_string(invoice * 7 + line) + ",50\"";
    return "{\"doc\": {\"id\": \"" + invoiceId(invoice) + "\"}, \"buyer\": \"Käufer " +
           std::to_string(invoice) + " ÄÖÜ\", \"total\": \"" + std::to_string(invoice * 11) +
           ",00\", \"rename\": " + (invoice == kRenamedInvoice ? "true" : "false") +
           ", \"lines\": [" + list + "]}";
}

std::string outputOf(const std::string& command) {
    std::string text;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
    if (!pipe)
        return text;
    std::array<char, 4096> chunk{};
    for (std::size_t got; (got = std::fread(chunk.data(), 1, chunk.size(), pipe.get())) > 0;)
        text.append(chunk.data(), got);
    return text;
}

std::string quoted(const std::string& path) {
    return "'" + path + "'";
}

// What a reader of the PDF sees, each through a tool of its own.
struct PdfView {
    std::string pages;
    std::string paper;
    std::string text;
    std::string fonts;
    std::string attachment;
};

PdfView viewOf(const std::string& pdf) {
    const std::string file = quoted(pdf);
    PdfView view;
    view.pages = outputOf("pdfinfo " + file + " | sed -n 's/^Pages: *//p'");
    view.paper = outputOf("pdfinfo " + file + " | sed -n 's/^Page size: *//p'");
    view.text = outputOf("pdftotext -layout " + file + " -");
    // Subset tags and object numbers differ from file to file; name, type and embedding not.
    view.fonts = outputOf("pdffonts " + file +
                          " | tail -n +3 | sed -E 's/^[A-Z]{6}\\+//; s/ +[0-9]+ +[0-9]+ *$//'"
                          " | sort");
    view.attachment = outputOf("qpdf --show-attachment=factur-x.xml " + file);
    return view;
}

class CollatedInvoices : public test::ProgramSession {
protected:
    void SetUp() override {
        std::string why;
        if (!addDriverQueue(queue_, why))
            GTEST_SKIP() << why;
        files_.writeFile("invoice.html", kTemplatePage);
        files_.writeFile("invoice.xml",
                         "<inv id=\"{{doc.id}}\"><buyer>{{buyer}}</buyer>"
                         "<total>{{total}}</total></inv>");
        std::filesystem::create_directory(files_.file("data"));
        for (int invoice = 1; invoice <= kInvoices; ++invoice)
            files_.writeFile(dataName(invoice), invoiceData(invoice));
    }

    static std::string dataName(int invoice) {
        return "data/" + std::to_string(10 + invoice) + ".json";
    }

    // The PDF of each data file, as the program's lines name them.
    std::map<int, std::string> convert(const std::string& folder, bool collate) {
        // The XML is no real invoice: delivered, reported invalid and allowed to be.
        std::vector<std::string> arguments{"--printer", queue_, "--invoice", "--html-template",
                                           "--detect", "--hide", "--allow-invalid", "--out",
                                           files_.file(folder), "--data", files_.file("data")};
        if (!collate)
            arguments.push_back("--no-collate");
        arguments.push_back(files_.file("invoice.html"));
        int exitCode = -1;
        std::string output;
        EXPECT_TRUE(runConverter(arguments, exitCode, output));
        EXPECT_EQ(exitCode, 0) << output;
        // Nothing of the collated run was left to the one-by-one path.
        EXPECT_EQ(files_.readFile("convert.out.err").find("one invoice at a time"),
                  std::string::npos)
            << files_.readFile("convert.out.err");
        std::map<int, std::string> pdfs;
        for (int invoice = 1; invoice <= kInvoices; ++invoice) {
            const std::string label = files_.file(dataName(invoice)) + ": ";
            const auto line = output.find(label);
            if (line == std::string::npos)
                continue;
            const auto start = output.find("(delivered: ", line) + 12;
            pdfs[invoice] = output.substr(start, output.find("; report: ", start) - start);
        }
        EXPECT_EQ(pdfs.size(), static_cast<std::size_t>(kInvoices)) << output;
        return pdfs;
    }

    std::string queue_;
};

TEST_F(CollatedInvoices, EachInvoiceEqualsTheOneMadeAlone) {
    const std::map<int, std::string> collated = convert("collated", true);
    const std::map<int, std::string> alone = convert("alone", false);
    ASSERT_EQ(collated.size(), alone.size());
    for (int invoice = 1; invoice <= kInvoices; ++invoice) {
        SCOPED_TRACE("invoice " + std::to_string(invoice));
        const PdfView mine = viewOf(collated.at(invoice));
        const PdfView theirs = viewOf(alone.at(invoice));
        EXPECT_EQ(mine.pages, theirs.pages);
        EXPECT_EQ(mine.paper, theirs.paper);
        EXPECT_EQ(mine.text, theirs.text);
        EXPECT_EQ(mine.fonts, theirs.fonts);
        EXPECT_EQ(mine.attachment, theirs.attachment);
        EXPECT_NE(mine.text.find("Invoice " + invoiceId(invoice)), std::string::npos);
        EXPECT_NE(mine.attachment.find(invoiceId(invoice)), std::string::npos);
        EXPECT_EQ(mine.text.find("%%"), std::string::npos);
        EXPECT_FALSE(mine.fonts.empty());
        // The page's own link stays; the section's mark is gone.
        const std::string objects = outputOf("qpdf --qdf --object-streams=disable " +
                                             quoted(collated.at(invoice)) + " -");
        EXPECT_NE(objects.find("https://example.com/" + invoiceId(invoice)), std::string::npos);
        EXPECT_EQ(objects.find("korventa-section:"), std::string::npos);
        EXPECT_TRUE(test::run("qpdf --check " + quoted(collated.at(invoice))));
        const std::string name = std::filesystem::path(collated.at(invoice)).filename().string();
        if (invoice == kRenamedInvoice)
            EXPECT_EQ(name, "Renamed " + invoiceId(invoice) + ".pdf");
        else
            EXPECT_EQ(name.find("Renamed"), std::string::npos) << name;
    }
    EXPECT_EQ(viewOf(collated.at(kLongInvoice)).pages, "3\n");
    EXPECT_EQ(viewOf(collated.at(1)).pages, "1\n");
}

}  // namespace
}  // namespace korventa
