#include "view/TemplatePath.h"

#include <gtest/gtest.h>

namespace korventa {
namespace {

TEST(SplitPath, EndsTheFolderAtTheLastBackslashSlashOrColon) {
    const PathParts windows = SplitPath(u"C:\\docs\\inv.2024.html");
    EXPECT_EQ(windows.folder, u"C:\\docs\\");
    EXPECT_EQ(windows.fileName, u"inv.2024.html");

    const PathParts mixed = SplitPath(u"/home/anna\\bills/inv.html");
    EXPECT_EQ(mixed.folder, u"/home/anna\\bills/");
    EXPECT_EQ(mixed.fileName, u"inv.html");

    const PathParts drive = SplitPath(u"C:inv.html");
    EXPECT_EQ(drive.folder, u"C:");
    EXPECT_EQ(drive.fileName, u"inv.html");
}

TEST(SplitPath, GivesAnEmptyFolderWithoutASeparator) {
    const PathParts parts = SplitPath(u"inv.html");
    EXPECT_EQ(parts.folder, u"");
    EXPECT_EQ(parts.fileName, u"inv.html");
}

TEST(TemplatePath, ReplacesOnlyTheLastExtensionOfTheFileName) {
    EXPECT_EQ(templatePathFor(u"C:\\docs\\inv.2024.html"), u"C:\\docs\\inv.2024.xml");
    EXPECT_EQ(templatePathFor(u"/home/anna/bills/invoice.html"), u"/home/anna/bills/invoice.xml");
    EXPECT_EQ(templatePathFor(u"/home/an.na/readme"), u"/home/an.na/readme.xml");
}

TEST(TemplatePath, LeadingDotGivesAnEmptyBaseName) {
    EXPECT_EQ(templatePathFor(u"/tmp/.html"), u"/tmp/.xml");
}

TEST(TemplatePath, WebAddressGivesAPathBesideTheHost) {
    EXPECT_EQ(templatePathFor(u"https://example.com"), u"https://example.xml");
    EXPECT_EQ(templatePathFor(u"https://example.com/"), u"https://example.com/.xml");
}

}  // namespace
}  // namespace korventa
