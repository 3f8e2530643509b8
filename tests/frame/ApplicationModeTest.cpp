#include "appmode/ApplicationMode.h"

#include <gtest/gtest.h>

namespace korventa {
namespace {

TEST(ParentFolder, IgnoresTrailingSeparatorsOfEitherKind) {
    EXPECT_EQ(ParentFolder(u"C:\\Apps\\Tools\\Driver\\"), u"C:\\Apps\\Tools");
    EXPECT_EQ(ParentFolder(u"C:\\Apps\\Tools\\Driver"), u"C:\\Apps\\Tools");
    EXPECT_EQ(ParentFolder(u"/opt/veltrix/driver//"), u"/opt/veltrix");
}

TEST(ParentFolder, CutsNoFurtherLeftThanTheSecondCharacter) {
    EXPECT_EQ(ParentFolder(u"C:\\Driver"), u"C:");
    EXPECT_EQ(ParentFolder(u"/opt"), u"");
    EXPECT_EQ(ParentFolder(u"///"), u"");
    EXPECT_EQ(ParentFolder(u"driver"), u"");
    EXPECT_EQ(ParentFolder(u""), u"");
}

TEST(ApplicationPagePath, OpensTheIndexPageOfAFolderName) {
    EXPECT_EQ(applicationPagePath(u"/opt/veltrix", u"simple"),
              u"/opt/veltrix/ZUGFeRD/simple/index.html");
    EXPECT_EQ(applicationPagePath(u"", u"invoice2"), u"/ZUGFeRD/invoice2/index.html");
}

TEST(ApplicationPagePath, OpensANameEndingInHtmlAsThePageItself) {
    EXPECT_EQ(applicationPagePath(u"/opt/veltrix", u"demo.html"),
              u"/opt/veltrix/ZUGFeRD/demo.html");
    EXPECT_EQ(applicationPagePath(u"/opt/veltrix", u"demo.HTML"),
              u"/opt/veltrix/ZUGFeRD/demo.HTML/index.html");
}

}  // namespace
}  // namespace korventa
