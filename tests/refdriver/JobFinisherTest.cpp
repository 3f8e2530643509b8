// The reference driver's post-processing through its real library: a job prepared with
// DocGetDocInfo2, its PDF written into the job's folder as the program does, then finished by
// DEXU_PostActionProc into a temporary destination folder on temporary hives.
#include <gtest/gtest.h>
#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFEmbeddedFileDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "driver/DriverAbi.h"
#include "driver/DriverLibrary.h"
#include "driver/DriverNames.h"
#include "driver/FakeSpooler.h"
#include "driver/FinishedJobEntry.h"
#include "driver/HiveWriter.h"
#include "driver/InstanceOwners.h"
#include "driver/KeyValues.h"
#include "print/InstanceLock.h"
#include "refdriver/JobSweep.h"
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

constexpr const char* kInvoiceXml =
    "<rsm:CrossIndustryInvoice xmlns:rsm=\"urn:un:unece:uncefact:data:standard:"
    "CrossIndustryInvoice:100\"><rsm:ExchangedDocument/></rsm:CrossIndustryInvoice>";

std::string pdfTitle(const std::string& path) {
    QPDF pdf;
    pdf.processFile(path.c_str());
    return pdf.getTrailer().getKey("/Info").getKey("/Title").getUTF8Value();
}

// Sets (or, with null, removes) one environment variable for the object's life.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name))
            saved_ = old;
        had_ = std::getenv(name) != nullptr;
        if (value != nullptr) {
            ::setenv(name, value, 1);
        } else {
            ::unsetenv(name);
        }
    }
    ~ScopedEnv() {
        if (had_) {
            ::setenv(name_, saved_.c_str(), 1);
        } else {
            ::unsetenv(name_);
        }
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name_;
    std::string saved_;
    bool had_ = false;
};

// Driver settings, cache and home all point into temporary folders, so nothing outside them is
// read or written; finished documents go to `dest_`. Without a display no mail program is
// started for a draft.
class JobFinisher : public testing::Test {
protected:
    JobFinisher() : library_(DriverLibrary::load()) {
        putText(userHive(), DriverRegistryRoot, u"DestFolder", fromUtf8(dest_.path()));
    }

    static WString keyName(std::uint32_t number) { return kPrefix + decimalText(number); }
    static WString keyPath(std::uint32_t number) { return driverKeyPath(keyName(number)); }

    // Prepares job `number` for `title` and gives it `pdf` as its temporary PDF, the way the
    // print completion does; returns the job's folder.
    std::string prepareJob(std::uint32_t number, WStringView title, const std::string& pdf) {
        DriverPrinter printer;
        EXPECT_TRUE(DriverPrinter::open(spooler_, u"Veltrix PDF Pro", printer));
        EXPECT_EQ(library_.DocGetDocInfo2(printer, kPrefix, title, number, true, false), VELT_OK);
        const std::string folder =
            toUtf8(textOf(userHive(), keyPath(number), u"JobTempPath").value_or(u"/nonexistent"));
        const std::string pdfPath = folder + "/efn1234.tmp";
        writeBytes(pdfPath, pdf);
        setValue(number, u"JobTempPDF", fromUtf8(pdfPath));
        return folder;
    }
    static void setValue(std::uint32_t number, WStringView name, WStringView text) {
        putText(userHive(), keyPath(number), name, text);
    }
    std::int32_t finish(std::uint32_t number) const {
        return library_.DEXU_PostActionProc(keyName(number), u"");
    }
    // Names in the destination folder, sorted.
    std::vector<std::string> delivered() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dest_.path())) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    test::ScopedHives hives_;
    test::TempDir cache_;
    test::TempDir home_;
    test::TempDir dest_;
    ScopedEnv cacheEnv_{"XDG_CACHE_HOME", cache_.path().c_str()};
    ScopedEnv homeEnv_{"HOME", home_.path().c_str()};
    ScopedEnv dataEnv_{"XDG_DATA_HOME", nullptr};
    ScopedEnv displayEnv_{"DISPLAY", nullptr};
    ScopedEnv waylandEnv_{"WAYLAND_DISPLAY", nullptr};
    test::FakeSpooler spooler_{std::vector<PrinterInfo>{{u"Veltrix PDF Pro", u"Veltrix PDF Pro"}}};
    DriverLibrary library_;
};

TEST_F(JobFinisher, DeliversThePdfNamedAfterTheTitleWithSeparatorsReplaced) {
    ASSERT_TRUE(library_.isLoaded());
    prepareJob(101, u"Invoice 4711/2024\\draft", onePagePdf());

    ASSERT_EQ(finish(101), VELT_OK);

    EXPECT_EQ(delivered(), std::vector<std::string>{"Invoice 4711_2024_draft.pdf"});
    EXPECT_EQ(pdfTitle(dest_.file("Invoice 4711_2024_draft.pdf")), "Invoice 4711/2024\\draft");
}

TEST_F(JobFinisher, BidirectionalControlsNeverReachTheDeliveredNames) {
    prepareJob(101, u"Invoice\u202Efdp.exe\u200F \u2066x\u2069", onePagePdf());
    ASSERT_EQ(finish(101), VELT_OK);
    prepareJob(102, u"Report", onePagePdf());
    setValue(102, u"DestFileName", u"\u202Bsummary\u202C\u061C.pdf");
    ASSERT_EQ(finish(102), VELT_OK);

    EXPECT_EQ(delivered(), (std::vector<std::string>{"Invoicefdp.exe x.pdf", "summary.pdf"}));
}

TEST_F(JobFinisher, RemovesTheJobFolderAndKeyAndRecordsTheJobAsFinished) {
    const std::string folder = prepareJob(101, u"Report", onePagePdf());

    ASSERT_EQ(finish(101), VELT_OK);

    EXPECT_FALSE(fs::exists(folder));
    EXPECT_FALSE(textOf(userHive(), keyPath(101), u"JobTempPath").has_value());
    const SettingsMap entry = test::finishedEntry(keyName(101));
    EXPECT_EQ(entry.count(u"Result") ? entry.at(u"Result") : u"(none)", u"OK");
    EXPECT_EQ(entry.count(u"OutputPDF") ? entry.at(u"OutputPDF") : u"(none)",
              fromUtf8(dest_.file("Report.pdf")));
}

// Another run reaching the same instance number and counter reuses the key name: whoever
// waits for the new job must not read the earlier job's result.
TEST_F(JobFinisher, PreparingAJobUnderAnEarlierJobsKeyNameDropsTheEarlierRecord) {
    prepareJob(101, u"Report", onePagePdf());
    ASSERT_EQ(finish(101), VELT_OK);
    ASSERT_FALSE(test::finishedEntry(keyName(101)).empty());

    prepareJob(101, u"Other", onePagePdf());
    EXPECT_TRUE(test::finishedEntry(keyName(101)).empty());

    ASSERT_EQ(finish(101), VELT_OK);
    const SettingsMap entry = test::finishedEntry(keyName(101));
    EXPECT_EQ(entry.count(u"OutputPDF") ? entry.at(u"OutputPDF") : u"(none)",
              fromUtf8(dest_.file("Other.pdf")));
}

TEST_F(JobFinisher, SecondJobOfTheSameTitleGetsANumberedNameAndLeavesTheFirstAlone) {
    prepareJob(101, u"Report", onePagePdf());
    ASSERT_EQ(finish(101), VELT_OK);
    const std::string first = readBytes(dest_.file("Report.pdf"));

    prepareJob(102, u"Report", onePagePdf());
    ASSERT_EQ(finish(102), VELT_OK);

    EXPECT_EQ(delivered(), (std::vector<std::string>{"Report (2).pdf", "Report.pdf"}));
    EXPECT_EQ(readBytes(dest_.file("Report.pdf")), first);
}

TEST_F(JobFinisher, InvoiceXmlOfTheJobIsDeliveredBesideThePdf) {
    const std::string folder = prepareJob(101, u"Invoice", onePagePdf());
    writeBytes(folder + "/efn5678.tmp", kInvoiceXml);
    setValue(101, u"AnnZUGFeRD", fromUtf8(folder + "/efn5678.tmp"));

    ASSERT_EQ(finish(101), VELT_OK);

    EXPECT_EQ(delivered(), (std::vector<std::string>{"Invoice.pdf", "Invoice.validation.txt",
                                                     "Invoice.xml"}));
    EXPECT_EQ(readBytes(dest_.file("Invoice.xml")), kInvoiceXml);
    const SettingsMap entry = test::finishedEntry(keyName(101));
    EXPECT_EQ(entry.count(u"OutputXML") ? entry.at(u"OutputXML") : u"(none)",
              fromUtf8(dest_.file("Invoice.xml")));
}

// Bytes that are not XML are never embedded; the document still arrives and the job says why.
TEST_F(JobFinisher, BrokenInvoiceXmlIsRecordedAndThePdfDeliveredWithoutIt) {
    const std::string folder = prepareJob(101, u"Invoice", onePagePdf());
    writeBytes(folder + "/efn5678.tmp", "<rsm:CrossIndustryInvoice><unclosed>");
    setValue(101, u"AnnZUGFeRD", fromUtf8(folder + "/efn5678.tmp"));

    ASSERT_EQ(finish(101), VELT_OK);

    QPDF pdf;
    pdf.processFile(dest_.file("Invoice.pdf").c_str());
    EXPECT_FALSE(QPDFEmbeddedFileDocumentHelper(pdf).hasEmbeddedFiles());
    EXPECT_FALSE(pdf.getRoot().hasKey("/AF"));
    const SettingsMap entry = test::finishedEntry(keyName(101));
    EXPECT_EQ(entry.count(u"Result") ? entry.at(u"Result") : u"(none)", u"OK");
    EXPECT_NE(entry.count(u"InvoiceError") ? entry.at(u"InvoiceError") : u"", u"");
    EXPECT_EQ(entry.count(u"InvoiceCheck") ? entry.at(u"InvoiceCheck") : u"(none)", u"invalid");
}

// The PDF and its XML are one group: a name taken for either moves both to the next number.
TEST_F(JobFinisher, XmlNameAlreadyTakenMovesTheWholeGroupToTheNextNumber) {
    dest_.writeFile("Invoice.xml", "older");
    const std::string folder = prepareJob(101, u"Invoice", onePagePdf());
    writeBytes(folder + "/efn5678.tmp", kInvoiceXml);
    setValue(101, u"AnnZUGFeRD", fromUtf8(folder + "/efn5678.tmp"));

    ASSERT_EQ(finish(101), VELT_OK);

    EXPECT_EQ(delivered(),
              (std::vector<std::string>{"Invoice (2).pdf", "Invoice (2).validation.txt",
                                        "Invoice (2).xml", "Invoice.xml"}));
    EXPECT_EQ(dest_.readFile("Invoice.xml"), "older");
}

TEST_F(JobFinisher, EmailJobLeavesADraftWithThePdfInTheOutbox) {
    putText(userHive(), DriverRegistryRoot, u"OutboxFolder", fromUtf8(home_.file("outbox")));
    prepareJob(101, u"Report", onePagePdf());
    setValue(101, u"EmailEnable", u"True");
    setValue(101, u"EmailTo", u"accounts@example.invalid");

    ASSERT_EQ(finish(101), VELT_OK);

    const std::string draft = readBytes(home_.file("outbox/Report.eml"));
    EXPECT_NE(draft.find("To: accounts@example.invalid\r\n"), std::string::npos) << draft;
    EXPECT_NE(draft.find("Report.pdf"), std::string::npos);
    const SettingsMap entry = test::finishedEntry(keyName(101));
    EXPECT_EQ(entry.count(u"OutputEmail") ? entry.at(u"OutputEmail") : u"(none)",
              fromUtf8(home_.file("outbox/Report.eml")));
}

TEST_F(JobFinisher, EmptyPdfOfAFailedPrintFailsAndKeepsTheJobForInspection) {
    const std::string folder = prepareJob(101, u"Report", "");

    EXPECT_EQ(finish(101), VELT_E_JOB_FILES);

    EXPECT_TRUE(delivered().empty());
    EXPECT_TRUE(fs::exists(folder + "/efn1234.tmp"));
    EXPECT_TRUE(textOf(userHive(), keyPath(101), u"JobTempPath").has_value());
    const SettingsMap entry = test::finishedEntry(keyName(101));
    EXPECT_TRUE(entry.count(u"Result") && entry.at(u"Result").starts_with(u"Failed: "));
}

// A full disk cut the browser's PDF short: qpdf could still make a document of what is left,
// so the cut must be seen before anything is delivered.
TEST_F(JobFinisher, TruncatedPdfIsRefusedAsDamagedAndKeptInTheJobFolder) {
    const std::string whole = onePagePdf();
    const std::string folder = prepareJob(101, u"Report", whole.substr(0, whole.size() * 3 / 4));
    ASSERT_NE(std::system(("qpdf --check '" + folder + "/efn1234.tmp' >/dev/null 2>&1").c_str()),
              0);

    EXPECT_EQ(finish(101), VELT_E_PDF);

    EXPECT_TRUE(delivered().empty());
    EXPECT_TRUE(fs::exists(folder + "/efn1234.tmp"));
    const SettingsMap entry = test::finishedEntry(keyName(101));
    EXPECT_TRUE(entry.count(u"Result") &&
                entry.at(u"Result").starts_with(u"Failed: the PDF is damaged: "));
}

TEST_F(JobFinisher, JobTheProgramCouldNotWriteWholeFailsWithItsReason) {
    prepareJob(101, u"Report", onePagePdf());
    setValue(101, u"JobWriteError", u"the PDF cannot be written: No space left on device");

    EXPECT_EQ(finish(101), VELT_E_JOB_FILES);

    EXPECT_TRUE(delivered().empty());
    EXPECT_EQ(test::finishedEntry(keyName(101))[u"Result"],
              u"Failed: the job was not written whole: the PDF cannot be written: No space left "
              u"on device");
}

// Page commands can write any value the program does not filter: a PDF outside the job's
// folder must never be published.
TEST_F(JobFinisher, PdfOutsideTheJobFolderIsRefused) {
    prepareJob(101, u"Report", onePagePdf());
    home_.writeFile("secret.pdf", onePagePdf());
    setValue(101, u"JobTempPDF", fromUtf8(home_.file("secret.pdf")));

    EXPECT_EQ(finish(101), VELT_E_JOB_FILES);

    EXPECT_TRUE(delivered().empty());
}

TEST_F(JobFinisher, PlainDestFileNameNamesTheDeliveredFile) {
    prepareJob(101, u"Report", onePagePdf());
    setValue(101, u"DestFileName", u"March.pdf");

    ASSERT_EQ(finish(101), VELT_OK);

    EXPECT_EQ(delivered(), std::vector<std::string>{"March.pdf"});
}

TEST_F(JobFinisher, DestFileNameWithAFolderPartIsRefusedForTheTitle) {
    prepareJob(101, u"Report", onePagePdf());
    setValue(101, u"DestFileName", u"../escaped");

    ASSERT_EQ(finish(101), VELT_OK);

    EXPECT_EQ(delivered(), std::vector<std::string>{"Report.pdf"});
    EXPECT_FALSE(fs::exists(fs::path(dest_.path()).parent_path() / "escaped.pdf"));
}

TEST_F(JobFinisher, FolderTheProgramNamesForTheJobWinsOverTheDriverSetting) {
    const test::TempDir chosen;
    prepareJob(101, u"Report", onePagePdf());
    setValue(101, u"JobOutputFolder", fromUtf8(chosen.file("out")));

    ASSERT_EQ(finish(101), VELT_OK);

    EXPECT_TRUE(fs::exists(chosen.file("out/Report.pdf")));
    EXPECT_TRUE(delivered().empty());
}

TEST_F(JobFinisher, TwoJobsOfTheSameTitleFinishingAtOnceBothDeliver) {
    prepareJob(101, u"Report", onePagePdf());
    prepareJob(102, u"Report", onePagePdf());

    std::int32_t results[2] = {1, 1};
    std::thread first([&] { results[0] = finish(101); });
    std::thread second([&] { results[1] = finish(102); });
    first.join();
    second.join();

    EXPECT_EQ(results[0], VELT_OK);
    EXPECT_EQ(results[1], VELT_OK);
    EXPECT_EQ(delivered(), (std::vector<std::string>{"Report (2).pdf", "Report.pdf"}));
    EXPECT_EQ(test::finishedEntry(keyName(101)).count(u"Result"), 1u);
    EXPECT_EQ(test::finishedEntry(keyName(102)).count(u"Result"), 1u);
}

// What programs that ended before their jobs finished left behind. Instance 1 has no holder
// here, so its jobs are abandoned.
class JobSweep : public JobFinisher {
protected:
    static bool keyExists(WStringView path) {
        reg::RegistryKey key;
        return reg::RegistryKey::open(userHive(), path, reg::KeyAccess::Read, key) ==
               reg::RegStatus::Ok;
    }
    // A job folder no key names, last changed `age` ago.
    std::string unnamedFolder(const std::string& name, std::chrono::hours age,
                              const std::string& pdf) {
        const std::string folder = cache_.file("talvenir/jobs/" + name);
        fs::create_directories(folder);
        writeBytes(folder + "/efn9999.tmp", pdf);
        fs::last_write_time(folder, fs::file_time_type::clock::now() - age);
        return folder;
    }
    std::string undelivered(const std::string& name) const {
        return dest_.file("Undelivered/" + name);
    }
};

TEST_F(JobSweep, AbandonedJobsGoAndTheirIntactPdfsAreKeptUndelivered) {
    const std::string pdf = onePagePdf();
    const std::string invoice = prepareJob(101, u"Invoice 4711", pdf);
    const std::string cut = prepareJob(102, u"Cut short", onePagePdf().substr(0, 200));
    const std::string old = unnamedFolder("job-old123", std::chrono::hours(2), onePagePdf());
    const std::string fresh = unnamedFolder("job-new123", std::chrono::hours(0), onePagePdf());

    const refdriver::SweepOutcome outcome = refdriver::sweepAbandonedJobs();

    EXPECT_EQ(outcome.jobs, 3u);
    EXPECT_EQ(outcome.rescued, 2u);
    EXPECT_EQ(outcome.undelivered, dest_.file("Undelivered"));
    EXPECT_FALSE(keyExists(keyPath(101)));
    EXPECT_FALSE(keyExists(keyPath(102)));
    EXPECT_FALSE(keyExists(WString(DriverRegistryRoot) + u"KORVENTAJob\\Inst001"));
    for (const std::string& folder : {invoice, cut, old})
        EXPECT_FALSE(fs::exists(folder)) << folder;
    EXPECT_TRUE(fs::exists(fresh));
    EXPECT_EQ(readBytes(undelivered("Invoice 4711.pdf")), pdf);
    EXPECT_TRUE(fs::exists(undelivered("document.pdf")));
    EXPECT_FALSE(fs::exists(undelivered("Cut short.pdf")));
}

TEST_F(JobSweep, JobsOfALiveHolderAndFoldersOutsideTheJobsFolderStay) {
    const InstanceLock holder = InstanceLock::acquire(InstanceOwners::userFolder());
    ASSERT_EQ(holder.number(), 1u);
    const std::string live = prepareJob(101, u"In flight", onePagePdf());
    const WString stale = WString(DriverRegistryRoot) + u"KORVENTAJob\\Inst002\\101";
    const test::TempDir elsewhere;
    elsewhere.writeFile("efn1.tmp", onePagePdf());
    putText(userHive(), stale, u"JobTempPath", fromUtf8(elsewhere.path()));

    const refdriver::SweepOutcome outcome = refdriver::sweepAbandonedJobs();

    EXPECT_EQ(outcome.jobs, 1u);
    EXPECT_EQ(outcome.rescued, 0u);
    EXPECT_TRUE(keyExists(keyPath(101)));
    EXPECT_TRUE(fs::exists(live + "/efn1234.tmp"));
    EXPECT_FALSE(keyExists(stale));
    EXPECT_TRUE(fs::exists(elsewhere.file("efn1.tmp")));
}

}  // namespace
}  // namespace korventa
