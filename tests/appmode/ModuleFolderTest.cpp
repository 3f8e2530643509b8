#include "appmode/ModuleFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace korventa {
namespace {

TEST(ModuleFolder, NamesTheFolderOfTheRunningExecutable) {
    const WString folder = ModuleFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), u'/');
    EXPECT_TRUE(std::filesystem::is_regular_file(toUtf8(folder) + "appmode_tests"));
}

TEST(ModuleFolder, CutsAfterTheLastSeparatorOfAnyKind) {
    EXPECT_EQ(folderOfPath(u"/opt/korventa/bin/korventa"), u"/opt/korventa/bin/");
    EXPECT_EQ(folderOfPath(u"C:\\Apps\\korventa.exe"), u"C:\\Apps\\");
    EXPECT_EQ(folderOfPath(u"C:korventa.exe"), u"C:");
    EXPECT_EQ(folderOfPath(u"/a\\b:c/d"), u"/a\\b:c/");
    EXPECT_EQ(folderOfPath(u"korventa"), u"");
}

}  // namespace
}  // namespace korventa
