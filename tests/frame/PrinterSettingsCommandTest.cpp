#include "frame/PrinterSettingsCommand.h"

#include <gtest/gtest.h>

#include "frame/FrameDoubles.h"

namespace korventa {
namespace {

class PrinterSettingsTest : public testing::Test {
protected:
    PrinterSettingsTest() {
        spooler_.queues[u"Office PDF"] = {{u"iso_a4_210x297mm", 2100, 2970},
                                          {u"na_letter_8.5x11in", 2159, 2794}};
        spooler_.defaults[u"Office PDF"] = u"iso_a4_210x297mm";
    }

    test::FakeSpooler spooler_;
    test::ScriptedPrompts prompts_;
};

TEST_F(PrinterSettingsTest, ShowsTheQueuesPapersWithTheCurrentOneSelected) {
    ShowPrinterSettings(spooler_, prompts_, u"Office PDF");
    EXPECT_EQ(prompts_.paperPrinter, u"Office PDF");
    ASSERT_EQ(prompts_.offeredPapers.size(), 2u);
    EXPECT_EQ(prompts_.offeredPapers[0].name, u"iso_a4_210x297mm");
    EXPECT_EQ(prompts_.offeredPapers[0].label, u"A4 (210 x 297 mm)");
    EXPECT_EQ(prompts_.offeredPapers[1].label, u"Letter (215.9 x 279.4 mm)");
    EXPECT_EQ(prompts_.offeredCurrent, u"iso_a4_210x297mm");
}

TEST_F(PrinterSettingsTest, OkStoresTheChoiceAsTheUsersDefault) {
    prompts_.paperAnswer = u"na_letter_8.5x11in";
    ShowPrinterSettings(spooler_, prompts_, u"Office PDF");
    EXPECT_EQ(spooler_.defaults[u"Office PDF"], u"na_letter_8.5x11in");
    EXPECT_TRUE(prompts_.messages.empty());
}

TEST_F(PrinterSettingsTest, CancelChangesNothing) {
    ShowPrinterSettings(spooler_, prompts_, u"Office PDF");
    EXPECT_EQ(spooler_.defaults[u"Office PDF"], u"iso_a4_210x297mm");
}

TEST_F(PrinterSettingsTest, UnknownQueueShowsNothing) {
    ShowPrinterSettings(spooler_, prompts_, u"Veltrix PDF Pro");
    EXPECT_EQ(prompts_.paperDialogs, 0);
    EXPECT_TRUE(prompts_.messages.empty());
}

TEST_F(PrinterSettingsTest, AChoiceThatCannotBeStoredIsReported) {
    spooler_.refuseWrites = true;
    prompts_.paperAnswer = u"na_letter_8.5x11in";
    ShowPrinterSettings(spooler_, prompts_, u"Office PDF");
    ASSERT_EQ(prompts_.messages.size(), 1u);
    EXPECT_NE(prompts_.messages[0].find(u"Office PDF"), WString::npos);
}

TEST(PaperChoices, ShowsNamesOfAnotherFormWhole) {
    const auto choices = paperChoices({{u"Custom", 1005, 990}});
    ASSERT_EQ(choices.size(), 1u);
    EXPECT_EQ(choices[0].label, u"Custom (100.5 x 99 mm)");
}

}  // namespace
}  // namespace korventa
