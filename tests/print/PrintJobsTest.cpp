// Print jobs without the browser: instance identity, the printing slot, the paper a print lays
// out on, temporary files and the job record a print completion writes for the driver.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include "driver/InstanceOwners.h"
#include "frame/FrameDoubles.h"
#include "print/InstanceIdentity.h"
#include "print/InstanceLock.h"
#include "print/MemoryStream.h"
#include "print/PdfPrintSettings.h"
#include "print/PrintJobWriter.h"
#include "print/PrintingSlot.h"
#include "print/TempFileName.h"
#include "support/TempDir.h"

namespace korventa {
namespace {

using namespace std::chrono_literals;

TEST(JobKeyName, IsThePrefixAndTheJobNumberCutToSixtyThreeCharacters) {
    EXPECT_EQ(MakeJobKeyName(jobPrefixFor(1), 101), u"KORVENTAJob\\Inst001\\101");
    EXPECT_EQ(MakeJobKeyName(jobPrefixFor(12), 103), u"KORVENTAJob\\Inst012\\103");
    EXPECT_EQ(jobPrefixFor(0), u"KORVENTAJob\\Inst000\\");
    const WString longPrefix(70, u'x');
    EXPECT_EQ(MakeJobKeyName(longPrefix, 7), WString(63, u'x'));
}

TEST(InstanceId, OnlyTheHighestRandomValueGivesZ) {
    EXPECT_EQ(instanceLetter(0), u'A');
    EXPECT_EQ(instanceLetter(32766), u'Y');
    EXPECT_EQ(instanceLetter(32767), u'Z');
}

TEST(InstanceLock, TakesTheLowestFreeNumberAndGetsItBackWhenTheHolderEnds) {
    test::TempDir folder;
    {
        const InstanceLock first = InstanceLock::acquire(folder.path());
        const InstanceLock second = InstanceLock::acquire(folder.path());
        EXPECT_EQ(first.number(), 1u);
        EXPECT_EQ(second.number(), 2u);
    }
    EXPECT_EQ(InstanceLock::acquire(folder.path()).number(), 1u);
    EXPECT_EQ(InstanceOwners::lockFileName(7), "SemaVELTKORVENTAInstance.007.lock");
}

TEST(InstanceLock, NumberOfAProcessThatDiesIsFreeAgain) {
    test::TempDir folder;
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        const InstanceLock held = InstanceLock::acquire(folder.path());
        const char number = static_cast<char>('0' + held.number());
        (void)!::write(ready[1], &number, 1);
        ::pause();
        ::_exit(0);
    }
    char number = 0;
    ASSERT_EQ(::read(ready[0], &number, 1), 1);
    EXPECT_EQ(number, '1');
    EXPECT_EQ(InstanceLock::acquire(folder.path()).number(), 2u);
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    EXPECT_EQ(InstanceLock::acquire(folder.path()).number(), 1u);
    ::close(ready[0]);
    ::close(ready[1]);
}

// A number whose lock file cannot be opened may belong to someone else; the next one is free.
TEST(InstanceLock, NumberWhoseFileCannotBeOpenedIsPassedOver) {
    test::TempDir folder;
    std::filesystem::create_directory(folder.file(InstanceOwners::lockFileName(1)));
    EXPECT_EQ(InstanceLock::acquire(folder.path()).number(), 2u);
}

TEST(InstanceLock, UnusableFolderGivesNumberZero) {
    EXPECT_EQ(InstanceLock::acquire("").number(), 0u);
    EXPECT_EQ(InstanceLock::acquire("/nonexistent/korventa").number(), 0u);
}

// A cron job beside a desktop session: same hive, different runtime folders.
TEST(InstanceLock, RunsWithDifferentRuntimeFoldersOnOneHiveGetDifferentNumbers) {
    test::ScopedHives hives;
    test::TempDir runtimeA;
    test::TempDir runtimeB;
    ::setenv("XDG_RUNTIME_DIR", runtimeA.path().c_str(), 1);
    const InstanceIdentity first(InstanceOwners::userFolder());
    ::setenv("XDG_RUNTIME_DIR", runtimeB.path().c_str(), 1);
    const InstanceIdentity second(InstanceOwners::userFolder());
    ::unsetenv("XDG_RUNTIME_DIR");

    EXPECT_EQ(first.jobPrefix(), u"KORVENTAJob\\Inst001\\");
    EXPECT_EQ(second.jobPrefix(), u"KORVENTAJob\\Inst002\\");
    EXPECT_EQ(InstanceOwners::userFolder(), hives.userHive() + ".instances");
}

TEST(InstanceLock, HolderTokenIsReadableOnlyWhileTheNumberIsHeld) {
    test::TempDir folder;
    std::string token;
    {
        const InstanceLock held = InstanceLock::acquire(folder.path());
        token = held.token();
        EXPECT_EQ(token.size(), 32u);
        EXPECT_EQ(InstanceOwners::liveToken(folder.path(), 1), token);
        // A second look must not have taken the number from its holder.
        EXPECT_EQ(InstanceOwners::liveToken(folder.path(), 1), token);
        EXPECT_EQ(InstanceLock::acquire(folder.path()).number(), 2u);
    }
    EXPECT_EQ(InstanceOwners::liveToken(folder.path(), 1), "");
    const InstanceLock next = InstanceLock::acquire(folder.path());
    EXPECT_EQ(next.number(), 1u);
    EXPECT_NE(next.token(), token);
    EXPECT_EQ(InstanceOwners::liveToken(folder.path(), 1), next.token());
}

TEST(InstanceOwners, ReadsTheNumberOnlyFromAConvertersJobPrefix) {
    EXPECT_EQ(InstanceOwners::numberOfJobPrefix(u"KORVENTAJob\\Inst007\\"), 7u);
    EXPECT_EQ(InstanceOwners::numberOfJobPrefix(u"KORVENTAJob\\Inst1234\\"), 1234u);
    for (const WStringView other :
         {u"", u"KORVENTAJob\\Inst\\", u"KORVENTAJob\\Inst007", u"KORVENTAJob\\Inst007\\x",
          u"KORVENTAJob\\Inst0x7\\", u"OtherJob\\Inst007\\", u"KORVENTAJob\\Inst9999999\\"}) {
        EXPECT_EQ(InstanceOwners::numberOfJobPrefix(other), 0u) << toUtf8(other);
    }
}

// A user hive folder that others may enter could let them take or fake numbers.
TEST(InstanceOwners, RefusesALockFolderOpenToOthers) {
    test::ScopedHives hives;
    std::filesystem::create_directory(hives.userHive() + ".instances");
    ::chmod((hives.userHive() + ".instances").c_str(), 0777);
    EXPECT_EQ(InstanceOwners::userFolder(), "");
}

TEST(PrintingSlot, TakenOnceUntilGivenBackAndAFreeGiveBackChangesNothing) {
    PrintingSlot slot(u"ABCDEF");
    EXPECT_EQ(slot.name(), u"SemaVELTKORVENTAPrintingABCDEF");
    slot.giveBack();
    EXPECT_TRUE(slot.take(1ms));
    EXPECT_FALSE(slot.take(1ms));
    slot.giveBack();
    slot.giveBack();
    EXPECT_TRUE(slot.take(1ms));
    EXPECT_FALSE(slot.take(1ms));
}

class PaperSettings : public testing::Test {
protected:
    PaperSettings() {
        spooler_.queues[u"Office"] = {{u"na_letter_8.5x11in", 2159, 2794},
                                      {u"iso_a4_210x297mm", 2100, 2970}};
    }
    PdfPrintSettings read(const WString& current) {
        spooler_.defaults[u"Office"] = current;
        PdfPrintSettings settings;
        ReadPrinterPaper(spooler_, u"Office", settings);
        return settings;
    }
    test::FakeSpooler spooler_;
};

TEST_F(PaperSettings, TakesTheListedSizeOfTheCurrentPaperInInches) {
    const PdfPrintSettings letter = read(u"na_letter_8.5x11in");
    EXPECT_DOUBLE_EQ(letter.pageWidth, 2159 / 254.0);
    EXPECT_DOUBLE_EQ(letter.pageHeight, 11.0);
    const PdfPrintSettings a4 = read(u"iso_a4_210x297mm");
    EXPECT_DOUBLE_EQ(a4.pageWidth, 8.26771653543307);
    EXPECT_DOUBLE_EQ(a4.pageHeight, 11.692913385826772);
    EXPECT_EQ(a4.customPageSize, 1);
    EXPECT_FALSE(a4.printBackgrounds);
    EXPECT_TRUE(a4.printHeaderAndFooter);
}

TEST_F(PaperSettings, UnlistedPaperGivesA4AndAnUnknownPrinterKeepsThePreviousSize) {
    const PdfPrintSettings unlisted = read(u"custom_roll");
    EXPECT_DOUBLE_EQ(unlisted.pageWidth, 2100 / 254.0);
    EXPECT_DOUBLE_EQ(unlisted.pageHeight, 2970 / 254.0);
    PdfPrintSettings settings;
    settings.pageWidth = 5.0;
    settings.pageHeight = 7.0;
    ReadPrinterPaper(spooler_, u"Nobody", settings);
    EXPECT_DOUBLE_EQ(settings.pageWidth, 5.0);
    EXPECT_DOUBLE_EQ(settings.pageHeight, 7.0);
}

TEST(TempFileName, CreatesNewEmptyFilesNamedAfterThePrefixWithoutEverReusingOne) {
    test::TempDir folder;
    WString first;
    ASSERT_TRUE(createUniqueFile(fromUtf8(folder.path()), u"efn", 0xFFFF, first));
    EXPECT_EQ(first, fromUtf8(folder.file("efnFFFF.tmp")));
    EXPECT_EQ(std::filesystem::file_size(toUtf8(first)), 0u);
    WString second;
    ASSERT_TRUE(createUniqueFile(fromUtf8(folder.path()), u"efn", 0xFFFF, second));
    EXPECT_EQ(second, fromUtf8(folder.file("efn0001.tmp")));
    WString chosen;
    EXPECT_TRUE(GetTempFileNameW(fromUtf8(folder.path()), u"efn", chosen));
    EXPECT_NE(chosen, first);
}

TEST(TempFileName, TakenNameIsSkippedAndKeepsItsContent) {
    test::TempDir folder;
    folder.writeFile("efn0010.tmp", "someone else's");
    WString path;
    ASSERT_TRUE(createUniqueFile(fromUtf8(folder.path()), u"efn", 0x10, path));
    EXPECT_EQ(path, fromUtf8(folder.file("efn0011.tmp")));
    EXPECT_EQ(folder.readFile("efn0010.tmp"), "someone else's");
}

TEST(TempFileName, EmptyMissingOrUnusableFolderGivesNoFile) {
    test::TempDir folder;
    folder.writeFile("plain", "");
    WString path = u"left over";
    EXPECT_FALSE(GetTempFileNameW(u"", u"efn", path));
    EXPECT_TRUE(path.empty());
    EXPECT_FALSE(GetTempFileNameW(u"/nonexistent/jobs", u"efn", path));
    EXPECT_TRUE(path.empty());
    // A file where the folder should be fails at once, not after 65535 tries.
    EXPECT_FALSE(createUniqueFile(fromUtf8(folder.file("plain")), u"efn", 1, path));
    EXPECT_TRUE(path.empty());
}

// Records what the completion asks of the driver and of the record store.
class RecordingDriver final : public JobDriver {
public:
    std::int32_t prepareJob(WStringView printer, WStringView prefix, WStringView document,
                            std::uint32_t number) override {
        prepared.push_back({WString(printer), WString(prefix), WString(document), number});
        return result;
    }
    void handOff(WStringView jobKeyName) override { handedOff.emplace_back(jobKeyName); }

    struct Call {
        WString printer;
        WString prefix;
        WString document;
        std::uint32_t number;
    };
    std::int32_t result = 0;
    std::vector<Call> prepared;
    std::vector<WString> handedOff;
};

class RecordingStore final : public JobRecordStore {
public:
    explicit RecordingStore(std::string folder) : folder_(std::move(folder)) {}
    void read(WStringView, SettingsMap& values) override {
        values[u"JobTempPath"] = fromUtf8(folder_);
    }
    bool writeBatch(WStringView jobKeyName, const SettingsMap& values) override {
        keys.emplace_back(jobKeyName);
        batches.push_back(values);
        return !refusesBatches;
    }
    bool refusesBatches = false;
    std::vector<WString> keys;
    std::vector<SettingsMap> batches;

private:
    std::string folder_;
};

// Records the room each read of the copy offers and what it got.
class WatchedStream final : public ByteStream {
public:
    explicit WatchedStream(std::string bytes) : bytes_(std::move(bytes)), rest_(bytes_) {}
    std::size_t read(char* buffer, std::size_t capacity) override {
        capacities.push_back(capacity);
        const std::size_t count = rest_.read(buffer, capacity);
        reads.push_back(count);
        return count;
    }
    std::vector<std::size_t> capacities;
    std::vector<std::size_t> reads;

private:
    std::string bytes_;
    MemoryStream rest_;
};

class JobRecord : public testing::Test {
protected:
    JobRecord() { request_.printerName = u"Office"; }

    WString complete(ByteStream* pdf, WString address = u"file:///srv/report.html") {
        return writer_.OnPdfStreamCompleted({pdf, u"Report", std::move(address)}, request_,
                                            identity_, slot_);
    }
    static std::string fileText(const WString& path) {
        return std::filesystem::exists(toUtf8(path)) ? readAll(toUtf8(path)) : "(missing)";
    }
    static std::string readAll(const std::string& path) {
        std::string bytes;
        if (FILE* file = std::fopen(path.c_str(), "rb")) {
            char chunk[4096];
            for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, file)) > 0;)
                bytes.append(chunk, n);
            std::fclose(file);
        }
        return bytes;
    }

    test::TempDir folder_;
    test::TempDir locks_;
    RecordingDriver driver_;
    RecordingStore store_{folder_.path()};
    PrintJobWriter writer_{driver_, store_};
    InstanceIdentity identity_{locks_.path()};
    PrintingSlot slot_{u"ABCDEF"};
    RequestState request_;
};

TEST_F(JobRecord, PlainPdfJobWritesTheFixedValuesAndHandsTheJobOff) {
    ASSERT_TRUE(slot_.take(1ms));
    MemoryStream pdf("%PDF-1.4 body");
    EXPECT_EQ(complete(&pdf), u"KORVENTAJob\\Inst001\\101");

    ASSERT_EQ(driver_.prepared.size(), 1u);
    EXPECT_EQ(driver_.prepared[0].printer, u"Office");
    EXPECT_EQ(driver_.prepared[0].prefix, u"KORVENTAJob\\Inst001\\");
    EXPECT_EQ(driver_.prepared[0].document, u"Report");
    EXPECT_EQ(driver_.prepared[0].number, 101u);
    ASSERT_EQ(store_.batches.size(), 1u);
    const SettingsMap& fixed = store_.batches[0];
    const WString pdfPath = fixed.at(u"JobTempPDF");
    const SettingsMap expected{{u"DestPostSaveDlg", u"True"}, {u"EmailEnable", u"False"},
                               {u"JobFlagDrag2PDF", u"128"},  {u"JobPostSaveDlg", u"True"},
                               {u"JobSrcPDFName", pdfPath},   {u"JobTempPDF", pdfPath}};
    EXPECT_EQ(fixed, expected);
    EXPECT_TRUE(std::filesystem::path(toUtf8(pdfPath)).filename().string().starts_with("efn"));
    EXPECT_EQ(fileText(pdfPath), "%PDF-1.4 body");
    EXPECT_EQ(driver_.handedOff, (std::vector<WString>{u"KORVENTAJob\\Inst001\\101"}));
    EXPECT_FALSE(slot_.isHeld());
}

TEST_F(JobRecord, InvoiceJobWritesFixedValuesThenCommandsThenTheXml) {
    request_.emailEnable = 1;
    request_.zugferdRequest = 1;
    request_.intentModeSet = 1;
    request_.intentMode = 11;
    request_.facturXml = "<inv/>";
    request_.commandMap = {{u"DestPostSaveDlg", u"False"}, {u"DocSubject", u"March"}};
    MemoryStream pdf("%PDF");
    complete(&pdf);

    ASSERT_EQ(store_.batches.size(), 3u);
    EXPECT_EQ(store_.batches[0].at(u"EmailEnable"), u"True");
    EXPECT_EQ(store_.batches[0].at(u"DocIntentMode"), u"11");
    EXPECT_EQ(store_.batches[0].at(u"DocMetaMode"), u"11");
    // Written after the fixed values, so the page's "False" is what the key holds.
    EXPECT_EQ(store_.batches[1],
              (SettingsMap{{u"DestPostSaveDlg", u"False"}, {u"DocSubject", u"March"}}));
    EXPECT_TRUE(request_.commandMap.empty());
    ASSERT_EQ(store_.batches[2].size(), 1u);
    const WString xmlPath = store_.batches[2].at(u"AnnZUGFeRD");
    EXPECT_EQ(fileText(xmlPath), "<inv/>");
    EXPECT_NE(xmlPath, store_.batches[0].at(u"JobTempPDF"));
    EXPECT_EQ(std::filesystem::path(toUtf8(xmlPath)).parent_path(), folder_.path());
    EXPECT_TRUE(request_.facturXml.empty());
}

TEST_F(JobRecord, PlainCommandNeverWritesTheInvoiceXml) {
    request_.facturXml = "<inv/>";
    MemoryStream pdf("%PDF");
    complete(&pdf);
    ASSERT_EQ(store_.batches.size(), 1u);
    EXPECT_FALSE(store_.batches[0].contains(u"AnnZUGFeRD"));
    EXPECT_TRUE(request_.facturXml.empty());
}

TEST_F(JobRecord, FailedPrintStillWritesTheJobWithAnEmptyPdf) {
    complete(nullptr);
    ASSERT_EQ(store_.batches.size(), 1u);
    EXPECT_EQ(fileText(store_.batches[0].at(u"JobTempPDF")), "");
    EXPECT_EQ(driver_.handedOff.size(), 1u);
}

// The commands of a page whose job was not prepared are not the next page's.
TEST_F(JobRecord, JobTheDriverDoesNotPrepareUsesItsNumberAndTakesItsCommandsAlong) {
    driver_.result = -1;
    request_.commandMap = {{u"DocSubject", u"March"}};
    request_.zugferdRequest = 1;
    request_.facturXml = "<inv/>";
    ASSERT_TRUE(slot_.take(1ms));
    EXPECT_EQ(complete(nullptr), u"");
    EXPECT_TRUE(request_.facturXml.empty());
    EXPECT_TRUE(request_.commandMap.empty());
    EXPECT_TRUE(store_.batches.empty());
    EXPECT_TRUE(driver_.handedOff.empty());
    EXPECT_FALSE(slot_.isHeld());
    driver_.result = 0;
    complete(nullptr);
    EXPECT_EQ(driver_.prepared.back().number, 102u);
    for (const SettingsMap& batch : store_.batches)
        EXPECT_FALSE(batch.contains(u"DocSubject"));
}

TEST_F(JobRecord, StreamIsCopiedInChunksOfAtMost4096Bytes) {
    WatchedStream pdf(std::string(10000, 'p'));
    complete(&pdf);
    EXPECT_EQ(pdf.capacities, std::vector<std::size_t>(4, 4096));
    EXPECT_EQ(pdf.reads, (std::vector<std::size_t>{4096, 4096, 1808, 0}));
    EXPECT_EQ(fileText(store_.batches[0].at(u"JobTempPDF")), std::string(10000, 'p'));
}

TEST_F(JobRecord, RemotePageCannotNameTheJobsFilesNorAttachOne) {
    request_.commandMap = {{u"JobTempPath", u"/etc"},
                           {u"jobtemppdf", u"/etc/passwd"},
                           {u"AnnZUGFeRD", u"/home/user/.ssh/id_rsa"},
                           {u"DocTitle", u"Fine"}};
    request_.zugferdRequest = 1;
    MemoryStream pdf("%PDF");
    complete(&pdf, u"https://shop.example/invoice");
    ASSERT_EQ(store_.batches.size(), 2u);
    EXPECT_EQ(store_.batches[1], (SettingsMap{{u"DocTitle", u"Fine"}}));
}

TEST_F(JobRecord, LocalPageMayAttachAFileButNotNameTheJobsFiles) {
    request_.commandMap = {{u"JobSrcPDFName", u"/etc/passwd"},
                           {u"AnnZUGFeRD", u"/srv/invoice.xml"},
                           {u"DocTitle", u"Fine"}};
    MemoryStream pdf("%PDF");
    complete(&pdf, u"FILE:///srv/invoice.html");
    ASSERT_EQ(store_.batches.size(), 2u);
    EXPECT_EQ(store_.batches[1],
              (SettingsMap{{u"AnnZUGFeRD", u"/srv/invoice.xml"}, {u"DocTitle", u"Fine"}}));
}

// Where the finished PDF goes is the caller's choice, never the page's, whatever its origin.
TEST_F(JobRecord, OutputFolderComesFromTheRequestOnly) {
    request_.commandMap = {{u"jobOutputFolder", u"/tmp/elsewhere"}, {u"DocTitle", u"Fine"}};
    request_.outputFolder = u"/srv/out";
    MemoryStream pdf("%PDF");
    complete(&pdf);
    ASSERT_EQ(store_.batches.size(), 3u);
    EXPECT_EQ(store_.batches[1], (SettingsMap{{u"DocTitle", u"Fine"}}));
    EXPECT_EQ(store_.batches[2], (SettingsMap{{u"JobOutputFolder", u"/srv/out"}}));
}

TEST_F(JobRecord, PlainRequestWritesNoOutputFolder) {
    request_.commandMap = {{u"JobOutputFolder", u"/tmp/elsewhere"}};
    MemoryStream pdf("%PDF");
    complete(&pdf);
    ASSERT_EQ(store_.batches.size(), 1u);
    EXPECT_FALSE(store_.batches[0].contains(u"JobOutputFolder"));
}

// A full disk, as a file size limit: every write past it fails as on a full file system.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        savedSignal_ = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{bytes, saved_.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, savedSignal_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit saved_{};
    void (*savedSignal_)(int) = SIG_DFL;
};

TEST_F(JobRecord, PdfThatCannotBeWrittenIsNamedForTheDriverAndStillHandedOff) {
    // The stream only views its bytes, so they must outlive it.
    const std::string bytes(20000, 'p');
    MemoryStream pdf(bytes);
    {
        const FileSizeLimit full(8192);
        complete(&pdf);
    }
    EXPECT_EQ(store_.batches.back(),
              (SettingsMap{{u"JobWriteError", u"the PDF cannot be written: File too large"}}));
    EXPECT_EQ(driver_.handedOff.size(), 1u);
}

TEST_F(JobRecord, RecordBatchThatIsNotStoredIsNamedForTheDriver) {
    store_.refusesBatches = true;
    request_.commandMap = {{u"DocTitle", u"Fine"}};
    MemoryStream pdf("%PDF");
    complete(&pdf);
    ASSERT_EQ(store_.batches.size(), 3u);
    EXPECT_EQ(store_.batches.back(),
              (SettingsMap{{u"JobWriteError",
                            u"the job record KORVENTAJob\\Inst001\\101 cannot be written"}}));
    EXPECT_EQ(fileText(store_.batches[0].at(u"JobTempPDF")), "%PDF");
}

}  // namespace
}  // namespace korventa
