// A print completion with the real reference driver: the job is prepared through the library,
// written to a temporary user hive and handed to a worker thread, which finishes it into a
// temporary destination folder.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "driver/DriverLibrary.h"
#include "driver/DriverNames.h"
#include "driver/FakeSpooler.h"
#include "driver/FinishedJobEntry.h"
#include "driver/HiveWriter.h"
#include "driver/KeyValues.h"
#include "print/InstanceIdentity.h"
#include "print/LibraryJobDriver.h"
#include "print/MemoryStream.h"
#include "print/PostActionWorker.h"
#include "print/PrintJobWriter.h"
#include "print/PrintingSlot.h"
#include "print/RegistryJobRecordStore.h"
#include "support/TempDir.h"

namespace korventa {
namespace {

namespace fs = std::filesystem;

using test::putText;
using test::textOf;
using test::userHive;

// A one-page document whose cross-reference table is right: the driver refuses damaged ones.
constexpr std::string_view kPdf =
    "%PDF-1.4\n1 0 obj\n<< /Type /Catalog /Pages 2 0 R >>\nendobj\n2 0 obj\n"
    "<< /Type /Pages /Kids [3 0 R] /Count 1 >>\nendobj\n3 0 obj\n"
    "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 200 200] >>\nendobj\nxref\n0 4\n"
    "0000000000 65535 f \n0000000009 00000 n \n0000000058 00000 n \n0000000115 00000 n \n"
    "trailer\n<< /Size 4 /Root 1 0 R >>\nstartxref\n186\n%%EOF\n";

class PrintToDriver : public testing::Test {
protected:
    PrintToDriver() : library_(DriverLibrary::load()) {
        if (const char* home = std::getenv("HOME"))
            savedHome_ = home;
        ::setenv("XDG_CACHE_HOME", cache_.path().c_str(), 1);
        ::setenv("HOME", home_.path().c_str(), 1);
        putText(userHive(), DriverRegistryRoot, u"DestFolder", fromUtf8(dest_.path()));
        request_.printerName = u"Veltrix PDF Pro";
    }
    ~PrintToDriver() override {
        // The workers read the environment and the hives; they must be gone first.
        (void)postActionsDone();
        ::unsetenv("XDG_CACHE_HOME");
        if (savedHome_.empty()) {
            ::unsetenv("HOME");
        } else {
            ::setenv("HOME", savedHome_.c_str(), 1);
        }
    }

    WString print(std::string_view bytes, WString title) {
        MemoryStream pdf(bytes);
        return writer_.OnPdfStreamCompleted({&pdf, std::move(title), u"file:///srv/page.html"},
                                            request_, identity_, slot_);
    }
    // A generous bound only, so a hung worker fails the test instead of blocking the run.
    static bool postActionsDone() {
        for (int i = 0; i < 6000 && runningPostActions() > 0; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return runningPostActions() == 0;
    }

    test::ScopedHives hives_;
    test::TempDir cache_;
    test::TempDir home_;
    test::TempDir dest_;
    test::TempDir locks_;
    test::FakeSpooler spooler_{std::vector<PrinterInfo>{{u"Veltrix PDF Pro", u"Veltrix PDF Pro"}}};
    DriverLibrary library_;
    LibraryJobDriver driver_{library_, spooler_};
    RegistryJobRecordStore records_;
    PrintJobWriter writer_{driver_, records_};
    InstanceIdentity identity_{locks_.path()};
    PrintingSlot slot_{u"ABCDEF"};
    RequestState request_;
    std::string savedHome_;
};

TEST_F(PrintToDriver, HandedOffJobIsFinishedIntoTheDestinationFolder) {
    ASSERT_TRUE(library_.isLoaded());
    const WString key = print(kPdf, u"Quarterly report");
    ASSERT_EQ(key, u"KORVENTAJob\\Inst001\\101");
    ASSERT_TRUE(postActionsDone());

    EXPECT_TRUE(fs::exists(dest_.file("Quarterly report.pdf")));
    const SettingsMap finished = test::finishedEntry(key);
    EXPECT_EQ(finished.count(u"Result") ? finished.at(u"Result") : u"(none)", u"OK");
    EXPECT_FALSE(textOf(userHive(), driverKeyPath(key), u"JobTempPath").has_value());
}

TEST_F(PrintToDriver, RequestedOutputFolderReceivesTheDocument) {
    request_.outputFolder = fromUtf8(home_.file("chosen"));
    ASSERT_FALSE(print(kPdf, u"Report").empty());
    ASSERT_TRUE(postActionsDone());

    EXPECT_TRUE(fs::exists(home_.file("chosen/Report.pdf")));
    EXPECT_FALSE(fs::exists(dest_.file("Report.pdf")));
}

TEST_F(PrintToDriver, PrinterTheSpoolerDoesNotKnowGetsNoJob) {
    request_.printerName = u"Gone";
    EXPECT_TRUE(print(kPdf, u"Report").empty());
    ASSERT_TRUE(postActionsDone());

    EXPECT_FALSE(textOf(userHive(), driverKeyPath(u"KORVENTAJob\\Inst001\\101"), u"JobTempPath")
                     .has_value());
    EXPECT_TRUE(fs::is_empty(dest_.path()));
}

}  // namespace
}  // namespace korventa
