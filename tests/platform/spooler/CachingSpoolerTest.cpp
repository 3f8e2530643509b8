#include "platform/spooler/CachingSpooler.h"

#include <gtest/gtest.h>

namespace korventa {
namespace {

using namespace std::chrono_literals;

// A scheduler with one queue whose current paper can be changed, counting every question.
class CountingSpooler : public PrintSpooler {
public:
    bool localPrinters(std::vector<PrinterInfo>& out) override {
        ++questions;
        out = answers ? std::vector<PrinterInfo>{{u"Office", u"Veltrix PDF Pro"}}
                      : std::vector<PrinterInfo>{};
        return answers;
    }
    bool hasPrinter(WStringView name) override {
        ++questions;
        return answers && name == u"Office";
    }
    bool queuePapers(WStringView name, QueuePapers& out) override {
        ++questions;
        out = {};
        if (!answers || name != u"Office")
            return false;
        out.supported = {{u"iso_a4_210x297mm", 2100, 2970}, {u"na_letter_8.5x11in", 2159, 2794}};
        out.current = out.supported[current];
        return true;
    }
    bool setDefaultPaper(WStringView, WStringView paperName) override {
        current = paperName == u"na_letter_8.5x11in" ? 1 : 0;
        return true;
    }

    int questions = 0;
    bool answers = true;
    std::size_t current = 0;
};

class CachingSpoolerTest : public ::testing::Test {
protected:
    CountingSpooler scheduler;
    std::chrono::steady_clock::time_point now{};
    CachingSpooler spooler{scheduler, 1000ms, [this] { return now; }};

    std::optional<WString> currentPaper() {
        QueuePapers papers;
        if (!spooler.queuePapers(u"Office", papers) || !papers.current)
            return std::nullopt;
        return papers.current->name;
    }
};

TEST_F(CachingSpoolerTest, AsksOncePerQuestionWhileTheAnswerIsYoung) {
    std::vector<PrinterInfo> printers;
    for (int print = 0; print < 5; ++print) {
        EXPECT_TRUE(spooler.localPrinters(printers));
        EXPECT_TRUE(spooler.hasPrinter(u"Office"));
        EXPECT_EQ(currentPaper(), u"iso_a4_210x297mm");
        now += 100ms;
    }
    ASSERT_EQ(printers.size(), 1u);
    EXPECT_EQ(printers[0].name, u"Office");
    EXPECT_EQ(scheduler.questions, 3);
}

TEST_F(CachingSpoolerTest, AsksAgainOnceTheAnswerHasAged) {
    scheduler.setDefaultPaper(u"Office", u"na_letter_8.5x11in");
    EXPECT_EQ(currentPaper(), u"na_letter_8.5x11in");
    scheduler.setDefaultPaper(u"Office", u"iso_a4_210x297mm");
    now += 999ms;
    EXPECT_EQ(currentPaper(), u"na_letter_8.5x11in");
    now += 1ms;
    EXPECT_EQ(currentPaper(), u"iso_a4_210x297mm");
    EXPECT_EQ(scheduler.questions, 2);
}

TEST_F(CachingSpoolerTest, KeepsNoFailedOrNegativeAnswer) {
    scheduler.answers = false;
    std::vector<PrinterInfo> printers;
    EXPECT_FALSE(spooler.localPrinters(printers));
    EXPECT_FALSE(spooler.hasPrinter(u"Office"));
    EXPECT_EQ(currentPaper(), std::nullopt);
    scheduler.answers = true;
    EXPECT_TRUE(spooler.localPrinters(printers));
    EXPECT_TRUE(spooler.hasPrinter(u"Office"));
    EXPECT_EQ(currentPaper(), u"iso_a4_210x297mm");
    EXPECT_FALSE(spooler.hasPrinter(u"Elsewhere"));
    EXPECT_FALSE(spooler.hasPrinter(u"Elsewhere"));
    EXPECT_EQ(scheduler.questions, 8);
}

TEST_F(CachingSpoolerTest, KeepsQueuesApartAndForgetsAllWhenAPaperIsStored) {
    QueuePapers papers;
    EXPECT_FALSE(spooler.queuePapers(u"Elsewhere", papers));
    EXPECT_EQ(currentPaper(), u"iso_a4_210x297mm");
    EXPECT_TRUE(spooler.setDefaultPaper(u"Office", u"na_letter_8.5x11in"));
    EXPECT_EQ(currentPaper(), u"na_letter_8.5x11in");
    EXPECT_EQ(scheduler.questions, 3);
}

}  // namespace
}  // namespace korventa
