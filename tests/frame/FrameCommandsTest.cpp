#include "frame/FrameCommands.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include "frame/CommandId.h"
#include "frame/FrameDoubles.h"
#include "frame/RegistryFixture.h"

namespace korventa {
namespace {

using Items = std::vector<WString>;

class FrameCommandsTest : public testing::Test {
protected:
    FrameCommandsTest() {
        saved_.printerName = u"Office PDF";
        saved_.url = u"https://a.example/";
        saved_.recentText = u"(https://b.example/)(https://a.example/)";
        saved_.detectCommands = false;
        saved_.commandClass = u"cmd";
    }

    void start(const std::set<WString>& printers = {u"Office PDF", u"Veltrix PDF Pro"}) {
        commands_.applySettings(saved_);
        commands_.startView();
        commands_.attachControls(&printerBox_, &classEdit_, &addressBox_, printers);
    }
    void typeAndConfirm(const WString& text, int id = ID_COMBO_HTMLURL) {
        addressBox_.edit = text;
        commands_.onCommand(id, 0);
    }

    test::ScopedHives hives_;
    test::RecordingView view_;
    test::ScriptedPrompts prompts_;
    test::FakeSpooler spooler_;
    LayeredSettings layers_;
    FrameCommands commands_{view_, prompts_, spooler_, layers_};
    test::ListPrinterBox printerBox_;
    test::PlainTextField classEdit_;
    test::ListAddressBox addressBox_;
    ConverterSettings saved_;
};

TEST_F(FrameCommandsTest, ViewGetsTheSavedAddressBeforeTheBrowserStarts) {
    start();
    EXPECT_EQ(view_.state.currentAddress, u"https://a.example/");
    EXPECT_EQ(view_.initializeCalls, 1);
    EXPECT_TRUE(view_.navigated.empty());
}

TEST_F(FrameCommandsTest, SelectsTheSavedPrinterAndPassesItToTheView) {
    start();
    EXPECT_EQ(printerBox_.items, (Items{u"Office PDF", u"Veltrix PDF Pro"}));
    EXPECT_EQ(printerBox_.selectedText(), u"Office PDF");
    EXPECT_EQ(view_.state.printerName, u"Office PDF");
}

TEST_F(FrameCommandsTest, EmptySavedPrinterBecomesTheProductName) {
    saved_.printerName.clear();
    start();
    EXPECT_EQ(commands_.selectedPrinter(), u"Veltrix PDF Pro");
    EXPECT_EQ(printerBox_.selectedText(), u"Veltrix PDF Pro");
}

TEST_F(FrameCommandsTest, UnknownSavedPrinterIsKeptThoughTheBoxShowsNoSelection) {
    start({u"Veltrix PDF Pro"});
    EXPECT_FALSE(printerBox_.selected.has_value());
    EXPECT_EQ(view_.state.printerName, u"Office PDF");
    commands_.onCommand(ID_COMBO_PRINTERSEL, 0);
    EXPECT_EQ(commands_.selectedPrinter(), u"Office PDF");
}

TEST_F(FrameCommandsTest, PrinterSelectionReachesFrameAndView) {
    start();
    printerBox_.selectText(u"Veltrix PDF Pro");
    commands_.onCommand(ID_COMBO_PRINTERSEL, 0);
    EXPECT_EQ(commands_.selectedPrinter(), u"Veltrix PDF Pro");
    EXPECT_EQ(view_.state.printerName, u"Veltrix PDF Pro");
}

// A first run before any set-up: the product name is no queue, the driver's queue is.
TEST_F(FrameCommandsTest, ProductNamePrintsOnTheDriversQueueAndIsSavedAsItWas) {
    saved_.printerName = u"Veltrix PDF Pro";
    start({u"Veltrix_PDF_Pro"});
    EXPECT_EQ(printerBox_.selectedText(), u"Veltrix_PDF_Pro");
    commands_.onCommand(ID_BUTTON_PRINT2PDF, 0);
    ASSERT_EQ(view_.printed.size(), 1u);
    EXPECT_EQ(view_.printed[0].printerName, u"Veltrix_PDF_Pro");
    EXPECT_TRUE(commands_.hasDriverQueue());
    // Still "whichever queue is the driver's", so a later machine-wide queue is found too.
    EXPECT_EQ(commands_.settingsToSave().printerName, u"Veltrix PDF Pro");
}

TEST_F(FrameCommandsTest, SavedPrinterFindsItsQueueWhateverTheLetterCase) {
    saved_.printerName = u"office pdf";
    start();
    EXPECT_EQ(printerBox_.selectedText(), u"Office PDF");
    commands_.onCommand(ID_BUTTON_ZUGPDF, 0);
    ASSERT_EQ(view_.scripts.size(), 1u);
    EXPECT_EQ(view_.scripts[0].state.printerName, u"Office PDF");
}

TEST_F(FrameCommandsTest, FillsTheAddressBoxWithTheSavedAddressFirst) {
    start();
    EXPECT_EQ(addressBox_.items, (Items{u"https://a.example/", u"https://b.example/"}));
    EXPECT_EQ(addressBox_.edit, u"https://a.example/");
    EXPECT_EQ(classEdit_.value, u"cmd");
}

TEST_F(FrameCommandsTest, ConfirmedAddressGoesFirstAndIsOpened) {
    start();
    typeAndConfirm(u"https://c.example/");
    EXPECT_EQ(addressBox_.items.front(), u"https://c.example/");
    EXPECT_EQ(commands_.currentUrl(), u"https://c.example/");
    EXPECT_EQ(view_.navigated, (Items{u"https://c.example/"}));
}

TEST_F(FrameCommandsTest, NavigateButtonConfirmsLikeTheAddressBox) {
    start();
    typeAndConfirm(u"https://b.example/", ID_BUTTON_NAVIGATE);
    EXPECT_EQ(addressBox_.items, (Items{u"https://b.example/", u"https://a.example/"}));
    EXPECT_EQ(view_.navigated, (Items{u"https://b.example/"}));
}

TEST_F(FrameCommandsTest, ConfirmingAnEmptyBoxOpensTheCurrentAddressAgain) {
    start();
    const Items before = addressBox_.items;
    typeAndConfirm(u"");
    EXPECT_EQ(addressBox_.items, before);
    EXPECT_EQ(commands_.currentUrl(), u"https://a.example/");
    EXPECT_EQ(view_.navigated, (Items{u"https://a.example/"}));
}

TEST_F(FrameCommandsTest, PickingAnItemOpensItWithoutReorderingTheList) {
    start();
    const int clears = addressBox_.clears;
    addressBox_.edit = u"https://b.example/";
    commands_.onCommand(ID_COMBO_HTMLURL, kAddressSelectionChanged);
    EXPECT_EQ(addressBox_.items, (Items{u"https://a.example/", u"https://b.example/"}));
    EXPECT_EQ(addressBox_.clears, clears);
    EXPECT_EQ(commands_.currentUrl(), u"https://b.example/");
    EXPECT_EQ(view_.navigated, (Items{u"https://b.example/"}));
}

TEST_F(FrameCommandsTest, SwitchesToggleAndShowAsCheckStates) {
    start();
    EXPECT_FALSE(commands_.commandState(ID_CHECK_DETECTCMD).checked);
    EXPECT_FALSE(commands_.commandState(ID_CHECK_HTML_AS_TEMPLATE).checked);
    commands_.onCommand(ID_CHECK_DETECTCMD, 0);
    commands_.onCommand(ID_CHECK_HTML_AS_TEMPLATE, 0);
    EXPECT_TRUE(commands_.commandState(ID_CHECK_DETECTCMD).checked);
    EXPECT_TRUE(commands_.commandState(ID_CHECK_HTML_AS_TEMPLATE).checked);
    const ConverterSettings settings = commands_.settingsToSave();
    EXPECT_TRUE(settings.detectCommands);
    EXPECT_TRUE(settings.htmlAsTemplate);
}

TEST_F(FrameCommandsTest, EveryHandledCommandIsEnabledAndTheSpacersAreNot) {
    for (const int id :
         {ID_BUTTON_NAVIGATE, ID_COMBO_PRINTERSEL, ID_COMBO_HTMLURL, ID_BUTTON_PRINT2PDF,
          ID_BUTTON_PRINT2EMAIL, ID_BUTTON_PRNSETTINGS, ID_BUTTON_ZUGPDF, ID_BUTTON_ZUGPDF2EMAIL,
          ID_CHECK_DETECTCMD, ID_EDIT_CMD_CLASSNAME, ID_CHECK_HTML_AS_TEMPLATE,
          ID_BUTTON_BROWSEFILE, ID_APP_ABOUT}) {
        EXPECT_TRUE(commands_.commandState(id).enabled) << id;
    }
    EXPECT_FALSE(commands_.commandState(ID_BUTTON_NULL).enabled);
    EXPECT_FALSE(commands_.commandState(12345).enabled);
}

TEST_F(FrameCommandsTest, ClassNameCommandTakesAnEmptyTextToo) {
    start();
    classEdit_.value.clear();
    commands_.onCommand(ID_EDIT_CMD_CLASSNAME, 0);
    EXPECT_EQ(commands_.settingsToSave().commandClass, u"");
}

TEST_F(FrameCommandsTest, CreateWithBothSwitchesOffPreparesADirectPrint) {
    start();
    view_.state.zugferdRequest = 1;
    view_.state.intentModeSet = 1;
    view_.state.intentMode = 3;
    commands_.onCommand(ID_BUTTON_PRINT2EMAIL, 0);
    EXPECT_EQ(view_.state.printerName, u"Office PDF");
    EXPECT_EQ(view_.state.emailEnable, 1);
    EXPECT_EQ(view_.state.zugferdRequest, 0);
    EXPECT_EQ(view_.state.intentModeSet, 0);
    EXPECT_EQ(view_.state.intentMode, 0);
    ASSERT_EQ(view_.printed.size(), 1u);
    EXPECT_EQ(view_.printed[0].emailEnable, 1);
}

TEST_F(FrameCommandsTest, InvoiceCommandsAlwaysRunAConversionScriptWithTheInvoiceState) {
    start();
    view_.state.facturXml = "<old/>";
    commands_.onCommand(ID_BUTTON_ZUGPDF2EMAIL, 0);

    ASSERT_EQ(view_.scripts.size(), 1u);
    EXPECT_TRUE(view_.printed.empty());
    const RequestState& state = view_.scripts[0].state;
    EXPECT_EQ(state.printerName, u"Office PDF");
    EXPECT_EQ(state.facturXml, "");
    EXPECT_EQ(state.emailEnable, 1);
    EXPECT_EQ(state.zugferdRequest, 1);
    EXPECT_EQ(state.intentModeSet, 1);
    EXPECT_EQ(state.intentMode, 11);
    // HTML as a template and detection off, the data shown, commands hidden.
    EXPECT_NE(view_.scripts[0].script.find("gkvt_zugFun.renderInAppMode(zugstr_jsonIni, "
                                           "zugstr_xmlTemp, false, true, true,false,true, 'cmd');"),
              std::string::npos);
}

TEST_F(FrameCommandsTest, EitherScriptSwitchTurnsAPlainCreateIntoAConversion) {
    start();
    commands_.onCommand(ID_CHECK_HTML_AS_TEMPLATE, 0);
    commands_.onCommand(ID_BUTTON_PRINT2PDF, 0);
    ASSERT_EQ(view_.scripts.size(), 1u);
    EXPECT_TRUE(view_.printed.empty());
    EXPECT_EQ(view_.scripts[0].state.zugferdRequest, 0);
    EXPECT_EQ(view_.scripts[0].state.intentMode, 0);
}

TEST_F(FrameCommandsTest, HeldPrintingSlotDropsTheRequestSilently) {
    start();
    view_.slotHeld = true;
    view_.state.facturXml = "<kept/>";
    commands_.onCommand(ID_BUTTON_ZUGPDF, 0);
    EXPECT_TRUE(view_.scripts.empty());
    EXPECT_EQ(view_.state.facturXml, "<kept/>");
    EXPECT_TRUE(prompts_.failures.empty());
}

// A request waiting for its page (the data dialog open) or a print under way writes its job
// with the request state later: no create may change it meanwhile.
TEST_F(FrameCommandsTest, CreateWhileARequestOrPrintIsUnderWayLeavesItsStateAlone) {
    start();
    view_.state.zugferdRequest = 1;
    view_.state.facturXml = "<pending/>";
    view_.slotHeld = true;
    commands_.onCommand(ID_BUTTON_PRINT2EMAIL, 0);
    view_.slotHeld = false;
    view_.printing = true;
    commands_.onCommand(ID_BUTTON_PRINT2PDF, 0);
    commands_.onCommand(ID_BUTTON_ZUGPDF2EMAIL, 0);
    EXPECT_TRUE(view_.printed.empty());
    EXPECT_TRUE(view_.scripts.empty());
    EXPECT_EQ(view_.state.zugferdRequest, 1);
    EXPECT_EQ(view_.state.emailEnable, 0);
    EXPECT_EQ(view_.state.facturXml, "<pending/>");
}

TEST_F(FrameCommandsTest, InvoiceRequestSendsTheTemplateBesideALocalPageThenTheShortForm) {
    test::TempDir dir;
    dir.writeFile("inv.2024.html", "<p>x</p>");
    dir.writeFile("inv.2024.xml", "<rsm:Invoice>{{doc.id}}</rsm:Invoice>");
    start();
    view_.state.currentAddress = fromUtf8(dir.file("inv.2024.html"));
    commands_.onCommand(ID_BUTTON_ZUGPDF, 0);
    view_.slotHeld = false;
    commands_.onCommand(ID_BUTTON_ZUGPDF, 0);

    ASSERT_EQ(view_.scripts.size(), 2u);
    const std::string& full = view_.scripts[0].script;
    EXPECT_NE(full.find("var zugstr_xmlTemp = `<rsm:Invoice>{{doc.id}}</rsm:Invoice>`;\n"),
              std::string::npos);
    EXPECT_NE(full.find("var zugstr_jsonIni = `"), std::string::npos);
    const std::string& second = view_.scripts[1].script;
    EXPECT_TRUE(second.starts_with("if (typeof zugstr_xmlTemp === 'undefined') {\n"
                                   "var zugstr_xmlTemp = `<rsm:Invoice>{{doc.id}}</rsm:Invoice>`;"))
        << second.substr(0, 120);
}

TEST_F(FrameCommandsTest, BrowseOffersPagesThenImagesAndOpensTheChosenFile) {
    start();
    test::TempDir dir;
    dir.writeFile("invoice.html", "<p>x</p>");
    prompts_.fileAnswer = fromUtf8(dir.file("invoice.html"));
    commands_.onCommand(ID_BUTTON_BROWSEFILE, 0);

    ASSERT_EQ(prompts_.offeredFilters.size(), 2u);
    EXPECT_EQ(prompts_.offeredFilters[0].description, u"*.html;*.htm");
    EXPECT_EQ(prompts_.offeredFilters[0].pattern, u"*.html;*.htm");
    EXPECT_EQ(prompts_.offeredFilters[1].description, u"*.jpg;*.jpeg");
    EXPECT_EQ(prompts_.offeredFilters[1].pattern, u"*.jpg;*.jpeg");
    EXPECT_EQ(commands_.currentUrl(), *prompts_.fileAnswer);
    EXPECT_EQ(addressBox_.edit, *prompts_.fileAnswer);
    EXPECT_EQ(addressBox_.items.front(), *prompts_.fileAnswer);
    EXPECT_EQ(view_.navigated, (Items{*prompts_.fileAnswer}));
}

TEST_F(FrameCommandsTest, BrowseIgnoresMissingAndLockedFiles) {
    start();
    test::TempDir dir;
    dir.writeFile("held.html", "<p>x</p>");
    const int holder = ::open(dir.file("held.html").c_str(), O_RDONLY);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);
    for (const char* name : {"held.html", "missing.html", ""}) {
        prompts_.fileAnswer = fromUtf8(dir.file(name));
        commands_.onCommand(ID_BUTTON_BROWSEFILE, 0);
    }
    ::close(holder);
    EXPECT_EQ(commands_.currentUrl(), u"https://a.example/");
    EXPECT_TRUE(view_.navigated.empty());
}

TEST_F(FrameCommandsTest, OpenAddressDoesNothingWithoutAnAddressBox) {
    commands_.applySettings(saved_);
    commands_.attachControls(&printerBox_, &classEdit_, nullptr, {});
    commands_.OpenAddress(u"/tmp/a.html");
    EXPECT_EQ(commands_.currentUrl(), u"https://a.example/");
    EXPECT_TRUE(view_.navigated.empty());
    EXPECT_EQ(commands_.settingsToSave().recentText, u"");
}

TEST_F(FrameCommandsTest, SavesTheFirstSixteenItemsOfTheAddressBox) {
    start();
    for (int i = 0; i < 40; ++i)
        typeAndConfirm(u"https://" + decimalText(static_cast<unsigned>(i)) + u".example/");
    EXPECT_EQ(addressBox_.items.size(), 32u);
    const auto saved = commands_.settingsToSave().recentText;
    EXPECT_TRUE(saved.starts_with(u"(https://39.example/)(https://38.example/)"));
    EXPECT_TRUE(saved.ends_with(u"(https://24.example/)"));
}

TEST_F(FrameCommandsTest, ApplicationModeOpensThePageBesideTheDriverInstallation) {
    test::putText(hives_.machineHive(), u"Software\\TALVENIR\\Veltrix\\PDF\\5.0", u"InstallPath",
                  u"/opt/veltrix/driver/");
    start();
    commands_.StartApplicationMode(u"");
    EXPECT_EQ(commands_.currentUrl(), u"https://a.example/");
    commands_.StartApplicationMode(u"invoice2");
    EXPECT_EQ(commands_.currentUrl(), u"/opt/veltrix/ZUGFeRD/invoice2/index.html");
    EXPECT_EQ(view_.state.currentAddress, u"/opt/veltrix/ZUGFeRD/invoice2/index.html");
}

TEST_F(FrameCommandsTest, SettingsAndAboutGoToTheirDialogs) {
    spooler_.queues[u"Office PDF"] = {{u"iso_a4_210x297mm", 2100, 2970}};
    start();
    commands_.onCommand(ID_BUTTON_PRNSETTINGS, 0);
    commands_.onCommand(ID_APP_ABOUT, 0);
    EXPECT_EQ(prompts_.paperPrinter, u"Office PDF");
    EXPECT_EQ(prompts_.aboutBoxes, 1);
}

}  // namespace
}  // namespace korventa
