#include "platform/spooler/CupsSpooler.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "driver/DriverPrinters.h"
#include "support/TempDir.h"

namespace korventa {
namespace {

using ::testing::AllOf;
using ::testing::Contains;
using ::testing::Field;
using ::testing::HasSubstr;

bool run(const std::string& command) {
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

MATCHER_P3(IsPaper, name, width, height, "") {
    return arg.name == name && arg.width == width && arg.height == height;
}

// A queue for each driver model, named after the process so that parallel test processes never
// meet, removed afterwards; HOME is a temporary folder, so user options land there.
class CupsQueues : public ::testing::Test {
protected:
    void SetUp() override {
        // lpstat exits 0 also when the scheduler is down: only its text tells.
        if (!run("lpstat -r 2>/dev/null | grep -q 'scheduler is running'")) {
            GTEST_SKIP() << "the CUPS scheduler is not running (lpstat -r)";
        }
        if (const char* home = std::getenv("HOME"))
            savedHome_ = home;
        ::setenv("HOME", home_.path().c_str(), 1);
        for (const char* ppd : {KORVENTA_DRIVER_PPD, KORVENTA_SECOND_PPD}) {
            const std::string name =
                "korventa_test" + std::to_string(added_.size()) + "_" + std::to_string(::getpid());
            if (!run("lpadmin -p " + name + " -E -v file:///dev/null -P '" + ppd + "'")) {
                GTEST_SKIP() << "lpadmin cannot add queues (needs the right to administer CUPS)";
            }
            added_.push_back(name);
        }
    }

    void TearDown() override {
        for (const std::string& name : added_) (void)run("lpadmin -x " + name);
        if (!savedHome_.empty())
            ::setenv("HOME", savedHome_.c_str(), 1);
    }

    WString queue(std::size_t index) const { return fromUtf8(added_.at(index)); }
    void setUserOption(std::size_t index, const std::string& option) {
        ASSERT_TRUE(run("lpoptions -p " + added_.at(index) + " -o " + option));
    }
    PaperSize currentPaper(std::size_t index) {
        QueuePapers papers;
        EXPECT_TRUE(spooler_.queuePapers(queue(index), papers));
        return papers.current.value_or(PaperSize{});
    }

    CupsSpooler spooler_;
    test::TempDir home_;

private:
    std::string savedHome_;
    std::vector<std::string> added_;
};

TEST_F(CupsQueues, ListsBothQueuesWithTheirExactModels) {
    std::vector<PrinterInfo> printers;
    ASSERT_TRUE(spooler_.localPrinters(printers));
    EXPECT_THAT(printers, Contains(AllOf(Field(&PrinterInfo::name, queue(0)),
                                         Field(&PrinterInfo::makeAndModel, u"Veltrix PDF Pro"))));
    EXPECT_THAT(printers, Contains(AllOf(Field(&PrinterInfo::name, queue(1)),
                                         Field(&PrinterInfo::makeAndModel, u"Veltrix PDF Pro 2"))));
}

TEST_F(CupsQueues, DriverPrintersAreTheQueuesOfExactlyTheDriversModel) {
    const std::set<WString> printers = EnumDriverPrinters(spooler_);
    EXPECT_TRUE(printers.contains(queue(0)));
    EXPECT_FALSE(printers.contains(queue(1)));
}

TEST_F(CupsQueues, AnswersFalseForAQueueNotNamedExactly) {
    const WString unknown = queue(0) + u"_gone";
    QueuePapers papers;
    EXPECT_TRUE(spooler_.hasPrinter(queue(0)));
    EXPECT_FALSE(spooler_.hasPrinter(u"KORVENTA" + queue(0).substr(8)));
    EXPECT_FALSE(spooler_.hasPrinter(unknown));
    EXPECT_FALSE(spooler_.queuePapers(unknown, papers));
    EXPECT_FALSE(spooler_.setDefaultPaper(unknown, u"iso_a4_210x297mm"));
}

TEST_F(CupsQueues, ReportsTheDriverPapersInTenthsOfAMillimetre) {
    QueuePapers papers;
    ASSERT_TRUE(spooler_.queuePapers(queue(0), papers));
    EXPECT_THAT(papers.supported, ::testing::UnorderedElementsAre(IsPaper(u"iso_a4_210x297mm", 2100, 2970),
                                                        IsPaper(u"na_letter_8.5x11in", 2159, 2794),
                                                        IsPaper(u"iso_a5_148x210mm", 1480, 2100),
                                                        IsPaper(u"na_legal_8.5x14in", 2159, 3556)));
}

TEST_F(CupsQueues, TakesTheQueueDefaultWithoutAUserDefault) {
    EXPECT_THAT(currentPaper(0), IsPaper(u"iso_a4_210x297mm", 2100, 2970));
    EXPECT_THAT(currentPaper(1), IsPaper(u"na_letter_8.5x11in", 2159, 2794));
}

TEST_F(CupsQueues, FollowsTheUserDefaultOfLpoptions) {
    setUserOption(0, "media=Letter");
    setUserOption(1, "PageSize=A5");
    EXPECT_THAT(currentPaper(0), IsPaper(u"na_letter_8.5x11in", 2159, 2794));
    EXPECT_THAT(currentPaper(1), IsPaper(u"iso_a5_148x210mm", 1480, 2100));
}

TEST_F(CupsQueues, FallsBackToTheQueueDefaultWhenTheUserDefaultIsNoPaperOfTheQueue) {
    setUserOption(0, "media=iso_a3_297x420mm");
    EXPECT_THAT(currentPaper(0), IsPaper(u"iso_a4_210x297mm", 2100, 2970));
}

TEST_F(CupsQueues, StoresTheUserDefaultKeepingOtherQueuesOptions) {
    setUserOption(1, "media=A4");
    ASSERT_TRUE(spooler_.setDefaultPaper(queue(0), u"iso_a5_148x210mm"));
    std::ostringstream options;
    options << std::ifstream(home_.file(".cups/lpoptions")).rdbuf();
    EXPECT_THAT(options.str(), HasSubstr("media=iso_a5_148x210mm"));
    EXPECT_THAT(currentPaper(0), IsPaper(u"iso_a5_148x210mm", 1480, 2100));
    EXPECT_THAT(currentPaper(1), IsPaper(u"iso_a4_210x297mm", 2100, 2970));
}

TEST_F(CupsQueues, RefusesToStoreAPaperTheQueueDoesNotHave) {
    EXPECT_FALSE(spooler_.setDefaultPaper(queue(0), u"iso_a3_297x420mm"));
    EXPECT_FALSE(spooler_.setDefaultPaper(queue(0), u"A4 Tray1"));
    EXPECT_THAT(currentPaper(0), IsPaper(u"iso_a4_210x297mm", 2100, 2970));
}

}  // namespace
}  // namespace korventa
