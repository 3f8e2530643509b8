#include "view/PageCommandFilter.h"

#include <gtest/gtest.h>

namespace korventa {
namespace {

const JobCommandMap kPageCommands = {
    {u"AnnZUGFeRD", u"/home/anna/inv.xml"}, {u"DocTitle", u"Offer"},
    {u"JobTempPDF", u"/etc/passwd"},        {u"jobsrcpdfname", u"x.pdf"},
    {u"JOBTEMPPATH", u"/tmp/evil"},         {u"EmailEnable", u"True"}};

TEST(PageCommandFilter, DropsTheProgramsOwnJobValuesInAnyCase) {
    const JobCommandMap kept = filterPageCommands(kPageCommands, u"file:///home/anna/inv.html");
    const JobCommandMap expected = {
        {u"AnnZUGFeRD", u"/home/anna/inv.xml"}, {u"DocTitle", u"Offer"}, {u"EmailEnable", u"True"}};
    EXPECT_EQ(kept, expected);
}

TEST(PageCommandFilter, KeepsTheAttachmentsOfALocalPage) {
    EXPECT_TRUE(filterPageCommands(kPageCommands, u"/home/anna/inv.html").contains(u"AnnZUGFeRD"));
    EXPECT_TRUE(
        filterPageCommands({{u"AnnZUGXDoc", u"(/home/anna/terms.pdf)"}}, u"/home/anna/inv.html")
            .contains(u"AnnZUGXDoc"));
    EXPECT_TRUE(filterPageCommands(kPageCommands, u"FILE:///inv.html").contains(u"AnnZUGFeRD"));
}

TEST(PageCommandFilter, DropsTheAttachmentsOfAWebPage) {
    for (const WStringView address :
         {u"https://shop.example/inv.html", u"files.example/inv", u"C:\\docs\\inv.html", u""}) {
        const JobCommandMap kept = filterPageCommands({{u"annzugferd", u"/home/anna/.ssh/id_rsa"},
                                                       {u"AnnZUGXDoc", u"(/etc/shadow)"},
                                                       {u"DocTitle", u"Offer"}},
                                                      address);
        EXPECT_EQ(kept, (JobCommandMap{{u"DocTitle", u"Offer"}})) << toUtf8(address);
    }
}

}  // namespace
}  // namespace korventa
