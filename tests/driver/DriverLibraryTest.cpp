#include "driver/DriverLibrary.h"

#include <gtest/gtest.h>

#include "driver/DriverAbi.h"
#include "support/TempDir.h"

namespace korventa {
namespace {

constexpr const char* kFakeLibrary = "libfakeveltdriver.so";

TEST(DriverLibrary, LoadsReferenceLibraryByBareNameAndFetchesLabel) {
    test::ScopedHives hives;
    const DriverLibrary library = DriverLibrary::load();
    ASSERT_TRUE(library.isLoaded());
    ASSERT_TRUE(library.InitResourceLocale(u""));

    WString label;
    ASSERT_TRUE(library.LoadDriverString(VELT_TEXT_PRINTER_BOX, label));
    EXPECT_EQ(label, u"Printer: ");
}

TEST(DriverLibrary, FailsEveryCallWhenLibraryIsMissing) {
    const DriverLibrary library = DriverLibrary::open("libveltpdfp-absent.so");
    EXPECT_FALSE(library.isLoaded());
    EXPECT_FALSE(library.InitResourceLocale(u"Veltrix PDF Pro"));

    WString label = u"stale";
    EXPECT_FALSE(library.LoadDriverString(VELT_TEXT_CREATE_PDF, label));
    EXPECT_TRUE(label.empty());
    EXPECT_EQ(library.DocGetDocInfo2(DriverPrinter(), u"KORVENTAJob\\Inst001\\", u"Doc", 101,
                                     true, false),
              -1);
    EXPECT_EQ(library.DEXU_PostActionProc(u"KORVENTAJob\\Inst001\\101", u""), -1);
}

TEST(DriverLibrary, CountsMissingExportAsFailure) {
    const DriverLibrary library = DriverLibrary::open(kFakeLibrary);
    ASSERT_TRUE(library.isLoaded());
    EXPECT_FALSE(library.InitResourceLocale(u""));
    EXPECT_EQ(library.DEXU_PostActionProc(u"KORVENTAJob\\Inst001\\101", u""), -1);
}

TEST(DriverLibrary, RejectsBlankAndReservedTextsAndLeavesOutputEmpty) {
    const DriverLibrary library = DriverLibrary::open(kFakeLibrary);
    for (const std::uint32_t id : {1u, 2u, 3u, 99u}) {
        WString label = u"stale";
        EXPECT_FALSE(library.LoadDriverString(id, label)) << id;
        EXPECT_TRUE(label.empty()) << id;
    }
}

TEST(DriverLibrary, KeepsUsableTextUntrimmed) {
    const DriverLibrary library = DriverLibrary::open(kFakeLibrary);
    WString label;
    ASSERT_TRUE(library.LoadDriverString(4, label));
    EXPECT_EQ(label, u"  Padded label\t");
}

TEST(DriverLibrary, ChoosesThirtyTwoBitBuildOnlyForNarrowProcessOnWideKernel) {
    EXPECT_STREQ(DriverLibrary::fileNameFor("x86_64", 4), "libveltpdfp32.so");
    EXPECT_STREQ(DriverLibrary::fileNameFor("aarch64", 4), "libveltpdfp32.so");
    EXPECT_STREQ(DriverLibrary::fileNameFor("x86_64", 8), "libveltpdfp.so");
    EXPECT_STREQ(DriverLibrary::fileNameFor("i686", 4), "libveltpdfp.so");
}

}  // namespace
}  // namespace korventa
