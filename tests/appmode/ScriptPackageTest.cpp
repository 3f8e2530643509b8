#include "appmode/ScriptPackage.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "appmode/ModuleFolder.h"
#include "appmode/TestZip.h"
#include "support/TempDir.h"

namespace korventa {
namespace {

using test::ZipEntry;

constexpr std::string_view kEntry = "handlebars.min.js";

// Text without line feeds or header signatures, varied enough to need several chunks.
std::string sampleBytes(std::size_t size) {
    std::string bytes;
    for (std::size_t i = 0; bytes.size() < size; ++i) bytes += "line " + std::to_string(i) + "; ";
    bytes.resize(size);
    return bytes;
}

class ScriptPackageRead : public ::testing::Test {
protected:
    std::string packageFile() const { return dir_.file("korventa.script.zip"); }

    void writePackage(const std::vector<ZipEntry>& entries) const {
        ASSERT_TRUE(test::writeZip(packageFile(), entries));
    }

    std::string packageBytes() const { return dir_.readFile("korventa.script.zip"); }
    void replacePackage(const std::string& bytes) const {
        dir_.writeFile("korventa.script.zip", bytes);
    }

    std::string read(std::string_view entryName) const {
        return ReadScriptPackageEntry(fromUtf8(packageFile()), entryName);
    }

    test::TempDir dir_;
};

TEST_F(ScriptPackageRead, GivesStoredEntryFollowedByLineFeed) {
    writePackage({{"handlebars.min.js", "abc", false}});
    EXPECT_EQ(read(kEntry), "abc\n");
}

TEST_F(ScriptPackageRead, InflatesEntrySpanningManyChunks) {
    const std::string bytes = sampleBytes(100000);
    writePackage({{"other.txt", "x"}, {"handlebars.min.js", bytes}});
    EXPECT_EQ(read(kEntry), bytes + "\n");
}

TEST_F(ScriptPackageRead, GivesEmptyEntryAsSingleLineFeed) {
    writePackage({{"handlebars.min.js", ""}});
    EXPECT_EQ(read(kEntry), "\n");
}

TEST_F(ScriptPackageRead, FindsEntryWrittenInUpperCase) {
    writePackage({{"HANDLEBARS.MIN.JS", "upper"}});
    EXPECT_EQ(read(kEntry), "upper\n");
}

TEST_F(ScriptPackageRead, FoldsOnlyAsciiLetters) {
    // '[' and '{' differ by the same bit as 'A' and 'a'; so do the second bytes of "Ä" and "ä".
    writePackage({{"a[b].js", "brackets"}, {"\xC3\x84.js", "umlaut"}});
    EXPECT_EQ(read("A{B}.js"), "\n");
    EXPECT_EQ(read("\xC3\xA4.js"), "\n");
    EXPECT_EQ(read("A[B].JS"), "brackets\n");
}

TEST_F(ScriptPackageRead, TakesFirstOfNamesEqualWithoutCase) {
    writePackage({{"Handlebars.min.js", "first"}, {"handlebars.min.js", "second"}});
    EXPECT_EQ(read(kEntry), "first\n");
}

TEST_F(ScriptPackageRead, DoesNotMatchLongerOrShorterNames) {
    writePackage({{"handlebars.min.js.bak", "longer"}, {"handlebars.min", "shorter"}});
    EXPECT_EQ(read(kEntry), "\n");
}

TEST_F(ScriptPackageRead, GivesLineFeedWithoutTheEntry) {
    writePackage({{"other.js", "x"}});
    EXPECT_EQ(read(kEntry), "\n");
}

TEST_F(ScriptPackageRead, GivesLineFeedWhenPackageCannotBeOpened) {
    EXPECT_EQ(read(kEntry), "\n");
    EXPECT_EQ(ReadScriptPackageEntry(fromUtf8(dir_.path()), kEntry), "\n");
    replacePackage("not a zip archive at all");
    EXPECT_EQ(read(kEntry), "\n");
}

TEST_F(ScriptPackageRead, GivesLineFeedForTruncatedArchive) {
    writePackage({{"handlebars.min.js", sampleBytes(5000), false}});
    replacePackage(packageBytes().substr(0, 3000));
    EXPECT_EQ(read(kEntry), "\n");
}

TEST_F(ScriptPackageRead, RefusesPathWithEmbeddedNul) {
    writePackage({{"handlebars.min.js", "abc"}});
    const WString path = fromUtf8(packageFile()) + WString(1, u'\0') + u"ignored";
    EXPECT_EQ(ReadScriptPackageEntry(path, kEntry), "\n");
}

TEST_F(ScriptPackageRead, GivesEmptyWhenEntryCannotBeOpened) {
    writePackage({{"handlebars.min.js", "abc"}});
    std::string zip = packageBytes();
    test::declareMethod(zip, 99);
    replacePackage(zip);
    EXPECT_EQ(read(kEntry), "");
}

TEST_F(ScriptPackageRead, KeepsBytesWithoutLineFeedOnCrcMismatch) {
    writePackage({{"handlebars.min.js", "checked content", false}});
    std::string zip = packageBytes();
    zip[zip.find("checked")] = 'C';
    replacePackage(zip);
    EXPECT_EQ(read(kEntry), "Checked content");
}

TEST_F(ScriptPackageRead, KeepsBytesSoFarAndReportsWhenReadFailsPartWay) {
    // The declared sizes run past the end of the file, so a read hits the end part way.
    const std::string bytes = sampleBytes(40000);
    writePackage({{"handlebars.min.js", bytes, false}});
    std::string zip = packageBytes();
    test::declareSizes(zip, 140000, 140000);
    replacePackage(zip);

    ::testing::internal::CaptureStdout();
    const std::string result = read(kEntry);
    const std::string output = ::testing::internal::GetCapturedStdout();

    ASSERT_FALSE(result.empty());
    EXPECT_LT(result.size(), bytes.size());
    EXPECT_EQ(result, bytes.substr(0, result.size()));
    EXPECT_EQ(output, "error -1 with zipfile in unzReadCurrentFile\n");
}

TEST_F(ScriptPackageRead, WithholdsLineFeedWhenStreamEndsBeforeDeclaredSize) {
    const std::string bytes = sampleBytes(1000);
    writePackage({{"handlebars.min.js", bytes}});
    std::string zip = packageBytes();
    const std::size_t central = test::centralHeaderOffset(zip);
    const auto compressed = static_cast<std::uint32_t>(
        static_cast<unsigned char>(zip[central + 20]) |
        static_cast<unsigned char>(zip[central + 21]) << 8);
    test::declareSizes(zip, compressed, 2000);
    replacePackage(zip);
    EXPECT_EQ(read(kEntry), bytes);
}

TEST(InstalledScriptPackage, SitsBesideTheExecutableWithHandlebars) {
    std::ifstream source("/usr/share/javascript/handlebars/handlebars.js", std::ios::binary);
    const std::string expected((std::istreambuf_iterator<char>(source)),
                               std::istreambuf_iterator<char>());
    ASSERT_FALSE(expected.empty());

    EXPECT_EQ(scriptPackagePath(), ModuleFolder() + u"korventa.script.zip");
    const std::string script = ReadScriptPackageEntry(kEntry);
    EXPECT_EQ(script, expected + "\n");
    EXPECT_NE(script.find("Handlebars"), std::string::npos);
}

}  // namespace
}  // namespace korventa
