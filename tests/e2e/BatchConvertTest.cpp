// korventa-convert end to end: the real program with the reference driver and a queue of the
// driver's model turns several pages, or one invoice page with several data files, into
// finished documents, and reports every input that fails without stopping the others.
#include <filesystem>
#include <string>

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
}

TEST_F(BatchConvert, EachDataFileBecomesAnInvoiceCarryingItsNumber) {
    files_.writeFile("invoice.html", kInvoicePage);
    files_.writeFile("invoice.xml", "<inv id=\"{{doc.id}}\">{{seller.name}}</inv>");
    std::filesystem::create_directory(files_.file("data"));
    for (int i = 1; i <= 5; ++i)
        files_.writeFile("data/" + std::to_string(i) + ".json", sampleWithId("R-" + std::to_string(i)));
    int exitCode = -1;
    std::string output;
    ASSERT_TRUE(runConverter({"--printer", queue_, "--invoice", "--out", files_.file("out"),
                              "--data", files_.file("data"), files_.file("invoice.html")},
                             exitCode, output));
    EXPECT_EQ(exitCode, 0) << output;
    for (int i = 1; i <= 5; ++i) {
        const std::string label = files_.file("data/" + std::to_string(i) + ".json") + ": ";
        const auto line = output.find(label);
        ASSERT_NE(line, std::string::npos) << output;
        const auto start = line + label.size();
        const std::string pdf = output.substr(start, output.find('\n', start) - start);
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
    int exitCode = -1;
    std::string output;
    ASSERT_TRUE(runConverter({"--printer", queue_, "--invoice", "--out", files_.file("out"),
                              "--data", files_.file("data"), "--data", files_.file("none.json"),
                              files_.file("invoice.html")},
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
    EXPECT_NE(output.find("2 finished, 2 failed"), std::string::npos) << output;
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

}  // namespace
}  // namespace korventa
