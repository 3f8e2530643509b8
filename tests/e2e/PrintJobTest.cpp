// The first complete conversion: the real program prints a local page on a queue of the
// driver's model into a job, and the reference driver finishes it as a PDF.
#include <signal.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>

#include "e2e/InvoiceChecks.h"
#include "e2e/ProgramSession.h"
#include "support/Base64.h"

namespace korventa {
namespace {

constexpr WStringView kDriverRoot = u"Software\\TALVENIR\\Veltrix\\PDF\\5.0";
constexpr WStringView kFirstJob = u"Software\\TALVENIR\\Veltrix\\PDF\\5.0\\KORVENTAJob\\Inst001\\101";

WString finishedEntry(WStringView entry) {
    return WString(kDriverRoot) + u"\\Finished\\" + WString(entry);
}

std::string commandOutput(const std::string& command) {
    int status = 0;
    return test::commandOutput(command + " 2>/dev/null", status);
}

std::string fileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// The PDF part of an e-mail draft, decoded; empty when there is none.
std::string draftAttachment(const std::string& draftPath) {
    const std::string draft = fileBytes(draftPath);
    const auto attachment = draft.find("Content-Type: application/pdf");
    if (attachment == std::string::npos)
        return {};
    const auto start = draft.find("\r\n\r\n", attachment) + 4;
    return test::decodeBase64(draft.substr(start, draft.find("--=_", start) - start));
}

// pdfinfo's "Page size:" line, e.g. "612 x 792 pts (letter)"; empty when it cannot tell.
std::string pageSize(const std::string& pdf) {
    const std::string info = commandOutput("pdfinfo '" + pdf + "'");
    const auto line = info.find("Page size:");
    if (line == std::string::npos)
        return {};
    const auto start = info.find_first_not_of(' ', line + 10);
    return info.substr(start, info.find('\n', start) - start);
}

class PrintJob : public test::ProgramSession {
protected:
    void SetUp() override {
        std::string why;
        if (!addDriverQueue(queue_, why))
            GTEST_SKIP() << why;
        if (!test::run("command -v pdfinfo"))
            GTEST_SKIP() << "pdfinfo (poppler-utils) is not installed";
        files_.writeFile("report.html",
                         "<title>Monthly report</title><h1 style='background:#dde'>Report</h1>");
    }

    // Opens the report, picks the queue, turns command detection (on by default) off, so the
    // page prints as it is, and presses the create command `id`.
    std::string createScript(int id) const {
        return "set 32774 " + files_.file("report.html") + "\ncommand 32774\nwait\n" +
               "set 32773 " + queue_ + "\ncommand 32773\ncommand 32783\ncommand " +
               std::to_string(id) + "\nwait\nclose\n";
    }

    std::string queue_;
};

TEST_F(PrintJob, MyCreatePdfFinishesAsAPdfOnThePrintersPaper) {
    ASSERT_TRUE(test::run("HOME='" + files_.path() + "' lpoptions -p " + queue_ +
                          " -o media=Letter"));
    ASSERT_TRUE(runScript(createScript(32778)));

    const WString entry = finishedEntry(u"KORVENTAJob_Inst001_101");
    EXPECT_EQ(textIn(entry, u"Result"), u"OK");
    const std::string output = toUtf8(textIn(entry, u"OutputPDF"));
    EXPECT_EQ(std::filesystem::path(output).parent_path(),
              std::filesystem::path(files_.file("Documents/Veltrix")));
    EXPECT_TRUE(std::filesystem::path(output).filename().string().starts_with("Monthly report"));
    EXPECT_TRUE(pageSize(output).starts_with("612 x 792 pts")) << pageSize(output);
    EXPECT_TRUE(valuesIn(kFirstJob).empty()) << "the driver removes a finished job's key";
}

// A destination the driver cannot write to keeps the job key for inspection.
TEST_F(PrintJob, PdfEmailWritesTheJobRecordOfAnEmailJob) {
    files_.writeFile("not-a-folder", "");
    putText(kDriverRoot, u"DestFolder", fromUtf8(files_.file("not-a-folder")));
    ASSERT_TRUE(runScript(createScript(32779)));

    EXPECT_EQ(textIn(kFirstJob, u"EmailEnable"), u"True");
    EXPECT_EQ(textIn(kFirstJob, u"JobPostSaveDlg"), u"True");
    EXPECT_EQ(textIn(kFirstJob, u"DestPostSaveDlg"), u"True");
    EXPECT_EQ(textIn(kFirstJob, u"JobFlagDrag2PDF"), u"128");
    EXPECT_EQ(textIn(kFirstJob, u"DocIntentMode"), u"(missing)");
    EXPECT_EQ(textIn(kFirstJob, u"DocMetaMode"), u"(missing)");
    EXPECT_EQ(textIn(kFirstJob, u"AnnZUGFeRD"), u"(missing)");
    const WString pdf = textIn(kFirstJob, u"JobTempPDF");
    EXPECT_EQ(textIn(kFirstJob, u"JobSrcPDFName"), pdf);
    EXPECT_TRUE(std::filesystem::path(toUtf8(pdf)).filename().string().starts_with("efn"));
    // The queue's own default paper, A4.
    EXPECT_TRUE(pageSize(toUtf8(pdf)).starts_with("594.96 x 841.92 pts")) << pageSize(toUtf8(pdf));
    EXPECT_TRUE(textIn(finishedEntry(u"KORVENTAJob_Inst001_101"), u"Result").starts_with(u"Failed"));
}

TEST_F(PrintJob, TwoInstancesAtOnceNumberTheirJobsApart) {
    const pid_t first = startScript("first.txt", createScript(32778));
    const pid_t second = startScript("second.txt", createScript(32778));
    ASSERT_TRUE(finish(first));
    ASSERT_TRUE(finish(second));

    EXPECT_EQ(textIn(finishedEntry(u"KORVENTAJob_Inst001_101"), u"Result"), u"OK");
    EXPECT_EQ(textIn(finishedEntry(u"KORVENTAJob_Inst002_101"), u"Result"), u"OK");
    EXPECT_NE(textIn(finishedEntry(u"KORVENTAJob_Inst001_101"), u"OutputPDF"),
              textIn(finishedEntry(u"KORVENTAJob_Inst002_101"), u"OutputPDF"));
}

// The ZUGFeRD commands on a local invoice page with its XML template beside it: the data
// dialog is closed as a user would, the XML rendered, the page commands collected.
class InvoiceJob : public PrintJob {
protected:
    void SetUp() override {
        PrintJob::SetUp();
        if (IsSkipped())
            return;
        files_.writeFile("invoice.html",
                         "<title>Invoice 471103</title><h1>Invoice</h1>"
                         "<p class='veltrix-cmd'>%%DocSubject: Invoice 471103%%</p>");
        files_.writeFile("invoice.xml", "<inv id=\"{{doc.id}}\">{{seller.name}}</inv>\n");
        // A destination the driver cannot write to keeps the job key for inspection.
        files_.writeFile("not-a-folder", "");
        putText(kDriverRoot, u"DestFolder", fromUtf8(files_.file("not-a-folder")));
    }

    std::string invoiceScript(int id) const { return pageScript(files_.file("invoice.html"), id); }

    std::string pageScript(const std::string& page, int id) const {
        return "set 32774 " + page + "\ncommand 32774\nwait\n" +
               "set 32773 " + queue_ + "\ncommand 32773\ncommand " + std::to_string(id) +
               "\npage document.getElementById('closeZugJsonBtn').click()\nwait\nclose\n";
    }
};

TEST_F(InvoiceJob, ZugferdWritesTheInvoiceRecordWithTheRenderedXml) {
    ASSERT_TRUE(runScript(invoiceScript(32781)));

    EXPECT_EQ(textIn(kFirstJob, u"DocIntentMode"), u"11");
    EXPECT_EQ(textIn(kFirstJob, u"DocMetaMode"), u"11");
    EXPECT_EQ(textIn(kFirstJob, u"EmailEnable"), u"False");
    EXPECT_EQ(textIn(kFirstJob, u"DocSubject"), u"Invoice 471103");
    const std::string xml = toUtf8(textIn(kFirstJob, u"AnnZUGFeRD"));
    ASSERT_TRUE(std::filesystem::exists(xml)) << xml;
    test::TempDir reader;
    std::filesystem::copy_file(xml, reader.file("copy.xml"));
    EXPECT_EQ(reader.readFile("copy.xml"), "<inv id=\"471103\">Lieferant GmbH</inv>\n");
}

TEST_F(InvoiceJob, ZugferdEmailIsAnInvoiceJobWithEmail) {
    ASSERT_TRUE(runScript(invoiceScript(32782)));
    EXPECT_EQ(textIn(kFirstJob, u"EmailEnable"), u"True");
    EXPECT_EQ(textIn(kFirstJob, u"DocIntentMode"), u"11");
    EXPECT_NE(textIn(kFirstJob, u"AnnZUGFeRD"), u"(missing)");
}

TEST_F(InvoiceJob, ZugferdEmailFinishesAsAFacturXPdfWithAnEmailDraft) {
    putText(kDriverRoot, u"DestFolder", fromUtf8(files_.file("out")));
    ASSERT_TRUE(runScript(invoiceScript(32782)));

    const WString entry = finishedEntry(u"KORVENTAJob_Inst001_101");
    ASSERT_EQ(textIn(entry, u"Result"), u"OK");
    const std::string pdf = toUtf8(textIn(entry, u"OutputPDF"));
    EXPECT_EQ(std::filesystem::path(pdf).parent_path(), files_.file("out"));
    EXPECT_EQ(commandOutput("qpdf --show-attachment=factur-x.xml '" + pdf + "'"),
              "<inv id=\"471103\">Lieferant GmbH</inv>\n");
    EXPECT_EQ(draftAttachment(toUtf8(textIn(entry, u"OutputEmail"))), fileBytes(pdf));
    EXPECT_TRUE(valuesIn(kFirstJob).empty());
    EXPECT_TRUE(std::filesystem::is_empty(files_.file("cache/talvenir/jobs")));
}

TEST_F(InvoiceJob, PageThatPostsResultsByItselfStartsNoJob) {
    files_.writeFile("hostile.html",
                     "<script>setInterval(() => window.chrome.webview.postMessage("
                     "'{\"type\":\"JSONCMDS\"}'), 10);</script>");
    ASSERT_TRUE(runScript("set 32774 " + files_.file("hostile.html") +
                          "\ncommand 32774\nwait\nset 32773 " + queue_ +
                          "\ncommand 32773\nwait\nclose\n"));
    EXPECT_TRUE(valuesIn(kFirstJob).empty());
    EXPECT_EQ(textIn(finishedEntry(u"KORVENTAJob_Inst001_101"), u"Result"), u"(missing)");
}

// The same commands in a page that came over the network: it may describe the document but
// not attach a file of this machine to it.
class RemotePage : public InvoiceJob {
protected:
    void SetUp() override {
        InvoiceJob::SetUp();
        if (IsSkipped())
            return;
        if (!test::run("command -v python3"))
            GTEST_SKIP() << "python3 is not installed";
        files_.writeFile("serve.py", kServer);
        ASSERT_TRUE(test::run("python3 '" + files_.file("serve.py") + "' '" + files_.path() +
                              "' '" + files_.file("server.txt") + "' &"));
        for (int waited = 0; waited < 100 && !std::filesystem::exists(files_.file("server.txt"));
             ++waited)
            ::usleep(50'000);
        std::istringstream(files_.readFile("server.txt")) >> server_ >> port_;
        ASSERT_GT(server_, 0) << "the page server did not start";
    }

    void TearDown() override {
        if (server_ > 0)
            ::kill(server_, SIGTERM);
    }

    std::string address(const std::string& name) const {
        return "http://127.0.0.1:" + std::to_string(port_) + "/" + name;
    }

private:
    // Serves the session's folder on a free loopback port; writes "PID PORT" when listening.
    static constexpr const char* kServer =
        "import functools, http.server, os, sys\n"
        "class Quiet(http.server.SimpleHTTPRequestHandler):\n"
        "    def log_message(self, *args): pass\n"
        "handler = functools.partial(Quiet, directory=sys.argv[1])\n"
        "server = http.server.HTTPServer(('127.0.0.1', 0), handler)\n"
        "with open(sys.argv[2] + '.part', 'w') as f: f.write(f'{os.getpid()} {server.server_port}')\n"
        "os.rename(sys.argv[2] + '.part', sys.argv[2])\n"
        "server.serve_forever()\n";

    pid_t server_ = 0;
    int port_ = 0;
};

TEST_F(RemotePage, CannotAttachALocalFileToItsJob) {
    files_.writeFile("remote.html",
                     "<title>Remote</title><p class='veltrix-cmd'>%%DocSubject: Remote%%</p>"
                     "<p class='veltrix-cmd'>%%eczf: " + files_.file("invoice.xml") + "%%</p>");
    ASSERT_TRUE(runScript(pageScript(address("remote.html"), 32781)));

    EXPECT_EQ(textIn(kFirstJob, u"DocSubject"), u"Remote");
    // Only the XML the program rendered from the template may be attached; a remote page
    // has no template beside it.
    EXPECT_EQ(textIn(kFirstJob, u"AnnZUGFeRD"), u"(missing)");
}

// The bundled invoice application as a user meets it: "--zug simple" opens it from beside the
// driver's installation folder, and one click (plus closing the data dialog) gives a Factur-X
// PDF whose XML passes the EN 16931 schema.
class InvoiceApplication : public PrintJob {
protected:
    void SetUp() override {
        PrintJob::SetUp();
        if (IsSkipped())
            return;
        std::filesystem::create_directories(files_.file("veltrix/driver"));
        std::filesystem::copy(KORVENTA_PAGES_SOURCE, files_.file("veltrix/ZUGFeRD"),
                              std::filesystem::copy_options::recursive);
        putText(kDriverRoot, u"InstallPath", fromUtf8(files_.file("veltrix/driver")));
        putText(kDriverRoot, u"DestFolder", fromUtf8(files_.file("out")));
    }

    bool runCommand(int id) {
        return runScript("set 32773 " + queue_ + "\ncommand 32773\nwait\ncommand " +
                             std::to_string(id) +
                             "\npage document.getElementById('closeZugJsonBtn').click()\n"
                             "wait\nclose\n",
                         {"--zug", "simple"});
    }
};

TEST_F(InvoiceApplication, ZugferdGivesAFacturXPdfThatPassesTheSchema) {
    ASSERT_TRUE(runCommand(32781));

    const WString entry = finishedEntry(u"KORVENTAJob_Inst001_101");
    ASSERT_EQ(textIn(entry, u"Result"), u"OK");
    const std::string pdf = toUtf8(textIn(entry, u"OutputPDF"));
    EXPECT_EQ(std::filesystem::path(pdf).filename(), "Rechnung 471103.pdf");
    const std::string xml = commandOutput("qpdf --show-attachment=factur-x.xml '" + pdf + "'");
    ASSERT_TRUE(xml.starts_with("<?xml")) << xml.substr(0, 100);
    files_.writeFile("factur-x.xml", xml);
    ASSERT_TRUE(test::run("qpdf --qdf --object-streams=disable '" + pdf + "' '" +
                          files_.file("plain.pdf") + "'"));
    EXPECT_NE(fileBytes(files_.file("plain.pdf"))
                  .find("<fx:ConformanceLevel>EN 16931</fx:ConformanceLevel>"),
              std::string::npos);
    std::string findings;
    const test::InvoiceVerdict verdict = test::checkInvoice(files_.file("factur-x.xml"), findings);
    if (verdict == test::InvoiceVerdict::Unchecked)
        GTEST_SKIP() << findings;
    EXPECT_EQ(verdict, test::InvoiceVerdict::Valid) << findings;
}

// The data dialog's answer is the invoice: a number, a buyer, a line and its price (with the
// sums that follow) changed there reach the printed page, the embedded XML and the file name
// alike, and the page prints as text that wraps instead of clipped input boxes.
TEST_F(InvoiceApplication, ADialogEditChangesThePrintedPageTheXmlAndTheFileNameTogether) {
    const std::string edit =
        "const d = JSON.parse(t.value); d.doc.id = 'RE-2024-0815'; d.buyer.name = 'M\u00fcller "
        "& S\u00f6hne Gro\u00dfhandelsgesellschaft f\u00fcr Befestigungstechnik mbH'; "
        "d.line[1].name = 'Schrauben & D\u00fcbel, verzinkt, 8 x 60 mm'; "
        "d.line[0].price = d.line[0].gross = '99.90'; d.line[0].total = '1998.00'; "
        "Object.assign(d.ahts.vat[0], {basis: '1998.00', tax: '379.62'}); "
        "Object.assign(d.ahts, {ltotal: '2273.00', btotal: '2273.00', tax: '398.87', "
        "gtotal: '2671.87', due: '2671.87'}); t.value = JSON.stringify(d);";
    ASSERT_TRUE(runScript("set 32773 " + queue_ + "\ncommand 32773\nwait\ncommand 32781\n" +
                              "page (t => { " + edit +
                              " document.getElementById('closeZugJsonBtn').click(); })"
                              "(document.getElementById('zugJsonData'))\nwait\nclose\n",
                          {"--zug", "simple"}));

    const WString entry = finishedEntry(u"KORVENTAJob_Inst001_101");
    ASSERT_EQ(textIn(entry, u"Result"), u"OK");
    EXPECT_EQ(textIn(entry, u"InvoiceCheck"), u"valid")
        << toUtf8(textIn(entry, u"InvoiceCheckRules"));
    const std::string pdf = toUtf8(textIn(entry, u"OutputPDF"));
    EXPECT_EQ(std::filesystem::path(pdf).filename(), "Rechnung RE-2024-0815.pdf");
    const std::string text = test::pdfText(pdf);
    for (const char* expected :
         {"Rechnung RE-2024-0815", "M\u00fcller & S\u00f6hne Gro\u00dfhandelsgesellschaft f\u00fcr "
                                   "Befestigungstechnik mbH",
          "Trennbl\u00e4tter A4", "99,90", "1.998,00",
          "Schrauben & D\u00fcbel, verzinkt, 8 x 60 mm", "15.11.2024", "275,00", "379,62",
          "2.273,00", "2.671,87"}) {
        EXPECT_NE(text.find(expected), std::string::npos) << expected << " in: " << text;
    }
    EXPECT_EQ(text.find("471103"), std::string::npos) << text;
    EXPECT_EQ(text.find("11/15/2024"), std::string::npos) << text;
    const std::string xml = test::pdfAttachment(pdf, "factur-x.xml");
    EXPECT_NE(xml.find("<ram:ID>RE-2024-0815</ram:ID>"), std::string::npos);
    EXPECT_NE(xml.find("<ram:GrandTotalAmount>2671.87</ram:GrandTotalAmount>"), std::string::npos);
    EXPECT_NE(xml.find("S\u00f6hne"), std::string::npos);
    files_.writeFile("factur-x.xml", xml);
    std::string findings;
    const test::InvoiceVerdict verdict = test::checkInvoice(files_.file("factur-x.xml"), findings);
    if (verdict == test::InvoiceVerdict::Unchecked)
        GTEST_SKIP() << findings;
    EXPECT_EQ(verdict, test::InvoiceVerdict::Valid) << findings;
}

TEST_F(InvoiceApplication, ZugferdEmailAddsADraftCarryingTheFinishedPdf) {
    ASSERT_TRUE(runCommand(32782));

    const WString entry = finishedEntry(u"KORVENTAJob_Inst001_101");
    ASSERT_EQ(textIn(entry, u"Result"), u"OK");
    const std::string pdf = toUtf8(textIn(entry, u"OutputPDF"));
    EXPECT_EQ(draftAttachment(toUtf8(textIn(entry, u"OutputEmail"))), fileBytes(pdf));
    EXPECT_TRUE(valuesIn(kFirstJob).empty());
    EXPECT_TRUE(std::filesystem::is_empty(files_.file("cache/talvenir/jobs")));
}

}  // namespace
}  // namespace korventa
