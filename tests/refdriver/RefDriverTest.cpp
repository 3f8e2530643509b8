#include <dlfcn.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "driver/DriverAbi.h"
#include "driver/DriverLibrary.h"
#include "driver/DriverNames.h"
#include "driver/FakeSpooler.h"
#include "driver/HiveWriter.h"
#include "driver/InstanceOwners.h"
#include "print/InstanceLock.h"
#include "support/TempDir.h"

namespace korventa {
namespace {

using test::machineHive;
using test::putText;
using test::textOf;
using test::userHive;

constexpr std::uint32_t kRibbonTexts[] = {110, 378, 380, 382, 421, 422, 427, 429, 430};
const WString kPrefix = u"KORVENTAJob\\Inst001\\";
const WString kJobKey = WString(DriverRegistryRoot) + u"KORVENTAJob\\Inst001\\101\\";

// The real reference driver on temporary hives, with its cache folder in a temporary folder.
class RefDriverTest : public ::testing::Test {
protected:
    RefDriverTest() : library_(DriverLibrary::load()) {
        ::setenv("XDG_CACHE_HOME", cache_.path().c_str(), 1);
    }
    ~RefDriverTest() override { ::unsetenv("XDG_CACHE_HOME"); }

    [[nodiscard]] DriverPrinter openPrinter() {
        DriverPrinter printer;
        EXPECT_TRUE(DriverPrinter::open(spooler_, u"Veltrix PDF Pro", printer));
        return printer;
    }
    [[nodiscard]] std::int32_t prepare(WStringView prefix, std::uint32_t job) {
        return library_.DocGetDocInfo2(openPrinter(), prefix, u"Invoice 4711", job, true, false);
    }
    [[nodiscard]] std::vector<std::string> jobFolders() const {
        std::vector<std::string> folders;
        std::error_code error;
        for (const auto& entry :
             std::filesystem::directory_iterator(cache_.file("talvenir/jobs"), error)) {
            folders.push_back(entry.path().string());
        }
        return folders;
    }
    // Null pointers cannot pass through DriverLibrary: some checks call the export directly.
    // The fixture's own copy keeps the library loaded, so the pointer stays valid.
    template <typename Function>
    [[nodiscard]] Function rawExport(const char* name) const {
        void* handle = dlopen("libveltpdfp.so", RTLD_NOW | RTLD_NOLOAD);
        const auto function = handle ? reinterpret_cast<Function>(dlsym(handle, name)) : nullptr;
        if (handle != nullptr) dlclose(handle);
        return function;
    }
    [[nodiscard]] WString label(std::uint32_t id) const {
        WString text;
        EXPECT_TRUE(library_.LoadDriverString(id, text)) << id;
        return text;
    }

    test::ScopedHives hives_;
    test::TempDir cache_;
    test::FakeSpooler spooler_{std::vector<PrinterInfo>{{u"Veltrix PDF Pro", u"Veltrix PDF Pro"}}};
    DriverLibrary library_;
};

TEST_F(RefDriverTest, GivesGermanLabelsWhenLanguageStartsWithDe) {
    putText(machineHive(), DriverRegistryRoot, u"Language", u"de-AT");
    ASSERT_TRUE(library_.InitResourceLocale(u"Veltrix PDF Pro"));
    EXPECT_EQ(label(VELT_TEXT_PRINTER_BOX), u"Drucker: ");
    EXPECT_EQ(label(VELT_TEXT_CREATE_PDF), u"PDF erstellen");
}

TEST_F(RefDriverTest, HasEveryRibbonLabelInBothLanguagesAndNothingElse) {
    for (const WStringView language : {u"en", u"de"}) {
        putText(machineHive(), DriverRegistryRoot, u"Language", language);
        ASSERT_TRUE(library_.InitResourceLocale(u""));
        for (const std::uint32_t id : kRibbonTexts) EXPECT_FALSE(label(id).empty()) << id;
        WString text;
        EXPECT_FALSE(library_.LoadDriverString(111, text));
    }
}

TEST_F(RefDriverTest, PreparesJobKeyWithPrivateFolder) {
    ASSERT_EQ(prepare(kPrefix, 101), 0);

    const auto folder = textOf(userHive(), kJobKey, u"JobTempPath");
    ASSERT_TRUE(folder.has_value());
    const std::string path = toUtf8(*folder);
    EXPECT_EQ(std::filesystem::path(path).parent_path(), cache_.file("talvenir/jobs"));
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & (S_IFMT | 0777), S_IFDIR | 0700u);
    EXPECT_EQ(textOf(userHive(), kJobKey, u"JobDocument"), u"Invoice 4711");
    EXPECT_EQ(textOf(userHive(), kJobKey, u"JobPrinter"), u"Veltrix PDF Pro");
}

TEST_F(RefDriverTest, ReplacesValuesLeftByEarlierJobOfSameName) {
    putText(userHive(), kJobKey, u"JobTempPDF", u"/tmp/old.pdf");
    ASSERT_EQ(prepare(kPrefix, 101), 0);
    EXPECT_FALSE(textOf(userHive(), kJobKey, u"JobTempPDF").has_value());
    EXPECT_TRUE(textOf(userHive(), kJobKey, u"JobTempPath").has_value());
}

// Two converters that both called themselves instance 1 made the driver delete the other's job
// in flight; a key its number's holder still owns stays whole.
TEST_F(RefDriverTest, NeverReplacesAJobKeyItsRunningOwnerStillHolds) {
    const InstanceLock holder = InstanceLock::acquire(InstanceOwners::userFolder());
    ASSERT_EQ(holder.number(), 1u);
    ASSERT_EQ(prepare(kPrefix, 101), 0);
    const auto folder = textOf(userHive(), kJobKey, u"JobTempPath");
    ASSERT_TRUE(folder.has_value());

    EXPECT_EQ(prepare(kPrefix, 101), VELT_E_JOB_LIVE);
    EXPECT_EQ(textOf(userHive(), kJobKey, u"JobTempPath"), folder);
    EXPECT_EQ(jobFolders().size(), 1u);
}

TEST_F(RefDriverTest, ReplacesAJobKeyLeftByAnEarlierHolderOfTheNumber) {
    std::optional<WString> earlier;
    {
        const InstanceLock gone = InstanceLock::acquire(InstanceOwners::userFolder());
        ASSERT_EQ(prepare(kPrefix, 101), 0);
        earlier = textOf(userHive(), kJobKey, u"JobTempPath");
    }
    const InstanceLock holder = InstanceLock::acquire(InstanceOwners::userFolder());
    ASSERT_EQ(holder.number(), 1u);
    ASSERT_EQ(prepare(kPrefix, 101), 0);
    EXPECT_NE(textOf(userHive(), kJobKey, u"JobTempPath"), earlier);
    EXPECT_EQ(textOf(userHive(), kJobKey, u"JobOwner"), fromUtf8(holder.token()));
}

TEST_F(RefDriverTest, RefusesNullAndMalformedArgumentsAndLeavesNothingBehind) {
    const auto prepareJob = rawExport<DocGetDocInfo2Fn>("DocGetDocInfo2");
    ASSERT_NE(prepareJob, nullptr);
    const DriverPrinter printer = openPrinter();
    const VeltPrinter unnamed{sizeof(VeltPrinter), VELT_PRINTER_VERSION_1, nullptr};
    const VeltPrinter truncated{4, VELT_PRINTER_VERSION_1, u"Veltrix PDF Pro"};
    const char16_t* prefix = kPrefix.c_str();

    EXPECT_EQ(prepareJob(nullptr, prefix, u"Doc", 101, 1, 0), VELT_E_INVALID_ARGUMENT);
    EXPECT_EQ(prepareJob(printer.handle(), nullptr, u"Doc", 101, 1, 0), VELT_E_INVALID_ARGUMENT);
    EXPECT_EQ(prepareJob(printer.handle(), prefix, nullptr, 101, 1, 0), VELT_E_INVALID_ARGUMENT);
    EXPECT_EQ(prepareJob(&unnamed, prefix, u"Doc", 101, 1, 0), VELT_E_INVALID_ARGUMENT);
    EXPECT_EQ(prepareJob(&truncated, prefix, u"Doc", 101, 1, 0), VELT_E_INVALID_ARGUMENT);
    EXPECT_EQ(prepare(WString(60, u'K'), 1234), VELT_E_INVALID_ARGUMENT);  // 64 characters
    EXPECT_TRUE(jobFolders().empty());
    EXPECT_FALSE(textOf(userHive(), kJobKey, u"JobTempPath").has_value());
}

TEST_F(RefDriverTest, RemovesFolderAgainWhenJobKeyCannotBeWritten) {
    ::setenv("TALVENIR_USER_HIVE", cache_.path().c_str(), 1);  // a folder is no hive
    EXPECT_EQ(prepare(kPrefix, 101), VELT_E_REGISTRY);
    EXPECT_TRUE(jobFolders().empty());
}

TEST_F(RefDriverTest, FailsWithoutKeyWhenFolderCannotBeMade) {
    cache_.writeFile("blocked", "");
    ::setenv("XDG_CACHE_HOME", cache_.file("blocked").c_str(), 1);
    EXPECT_EQ(prepare(kPrefix, 101), VELT_E_FOLDER);
    EXPECT_FALSE(textOf(userHive(), kJobKey, u"JobTempPath").has_value());
}

TEST_F(RefDriverTest, PostProcessingValidatesArgumentsBeforeReportingFailure) {
    const auto postAction = rawExport<DEXU_PostActionProcFn>("DEXU_PostActionProc");
    ASSERT_NE(postAction, nullptr);
    EXPECT_EQ(postAction(nullptr, u""), VELT_E_INVALID_ARGUMENT);
    EXPECT_EQ(postAction(u"KORVENTAJob\\Inst001\\101", nullptr), VELT_E_INVALID_ARGUMENT);
    EXPECT_EQ(library_.DEXU_PostActionProc(WString(64, u'K'), u""), VELT_E_INVALID_ARGUMENT);
    EXPECT_LT(library_.DEXU_PostActionProc(u"KORVENTAJob\\Inst001\\101", u""), 0);
}

}  // namespace
}  // namespace korventa
