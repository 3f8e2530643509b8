#include <gtest/gtest.h>

#include "pagescripts/PageHarness.h"

namespace korventa::test {
namespace {

constexpr ConversionFlags kQuiet{.htmlAsTemplate = false,
                                 .generateFacturXml = false,
                                 .showJson = false,
                                 .detectCommands = false,
                                 .hideCommands = false};

ConversionFlags with(ConversionFlags flags, bool ConversionFlags::*member) {
    flags.*member = true;
    return flags;
}

const QString kDialogOpen = QStringLiteral("document.getElementById('zugJsonDlg')?.open");
const QString kDialogText = QStringLiteral("document.getElementById('zugJsonData').value");

const char* const kPlugin =
    "<script>var korventaPlugin = {genJsonData: () => ({doc: {id: 'P1'}}),"
    " facturXml: '<x>{{doc.id}}</x>'};</script>";
const char* const kPluginWithConfig =
    "<script>var korventaPlugin = {genJsonData: () => ({doc: {id: 'P1'}}),"
    " facturXml: '<x>{{doc.id}}</x>',"
    " config: {bFlattenHtml: true, bShowJsonWhenPrint: false}};</script>";

TEST(TemplateRendering, PostsOnlyTheTypeWhenNothingIsAsked) {
    PageHarness page;
    ASSERT_TRUE(page.load("<p>%%ab: x%%</p>"));
    ASSERT_TRUE(page.request(u"<x/>", kQuiet, u""));
    ASSERT_TRUE(page.waitUntil("window.__posted.length === 1"));
    EXPECT_EQ(page.posted(), QStringList{R"({"type":"JSONCMDS"})"});
}

TEST(TemplateRendering, RendersTheXmlFromTheSampleDataAndCollectsTheCommands) {
    PageHarness page;
    ASSERT_TRUE(page.load("<div class='veltrix-cmd'>%%title: Offer%%</div>"));
    ConversionFlags flags = with(kQuiet, &ConversionFlags::generateFacturXml);
    flags.detectCommands = true;
    ASSERT_TRUE(page.request(u"<Id>{{doc.id}}</Id><S>{{seller.city}}</S>", flags, u"veltrix-cmd"));
    ASSERT_TRUE(page.waitUntil("window.__posted.length === 1"));
    EXPECT_EQ(page.posted().front(),
              R"({"facx":"<Id>471103</Id><S>München</S>","cmds":{"title":"Offer"},)"
              R"("type":"JSONCMDS"})");
}

TEST(TemplateRendering, TemplateAndClassNameArriveExactly) {
    PageHarness page;
    ASSERT_TRUE(page.load("<div data-x='1'>%%ab: quoted%%</div><div id='a.b'>%%cd: dotted%%</div>"));
    ASSERT_TRUE(page.request(u"first", kQuiet, u""));
    const WString xmlTemplate = u"C:\\docs\\{{id}} \\{{raw}} `tick` ${x} $${y}\r\n\\u0041 end\\";
    ASSERT_TRUE(page.request(xmlTemplate, with(kQuiet, &ConversionFlags::detectCommands),
                             u"[data-x='1'], #a\\.b"));
    EXPECT_EQ(page.evaluate(QStringLiteral("zugstr_xmlTemp")).toString(),
              QString::fromStdU16String(xmlTemplate));
    ASSERT_TRUE(page.waitUntil("window.__posted.length === 2"));
    EXPECT_EQ(page.posted().back(),
              R"({"cmds":{"cd":"dotted","ab":"quoted"},"type":"JSONCMDS"})");
}

TEST(TemplateRendering, DataDialogShowsTheSampleAndTheEditedTextIsUsed) {
    PageHarness page;
    ASSERT_TRUE(page.load("<p>Invoice</p>"));
    ASSERT_TRUE(page.request(u"<Id>{{doc.id}}</Id>",
                             with(with(kQuiet, &ConversionFlags::showJson),
                                  &ConversionFlags::generateFacturXml),
                             u""));
    ASSERT_TRUE(page.waitUntil(kDialogOpen));
    EXPECT_EQ(page.evaluate("JSON.parse(" + kDialogText + ").seller.name").toString(),
              "Lieferant GmbH");
    EXPECT_TRUE(page.evaluate(QStringLiteral("window.__posted.length === 0")).toBool());

    static_cast<void>(page.evaluate(kDialogText + " = '{\"doc\": {\"id\": \"edited\"}}';"
                                    "document.getElementById('closeZugJsonBtn').click();"));
    ASSERT_TRUE(page.waitUntil("window.__posted.length === 1"));
    EXPECT_EQ(page.posted().front(), R"({"facx":"<Id>edited</Id>","type":"JSONCMDS"})");
}

TEST(TemplateRendering, InvalidJsonInTheDialogPostsNothingAndSignalsTheFailure) {
    PageHarness page;
    ASSERT_TRUE(page.load("<p>Invoice</p>"));
    ASSERT_TRUE(page.request(u"", with(kQuiet, &ConversionFlags::showJson), u""));
    ASSERT_TRUE(page.waitUntil(kDialogOpen));
    static_cast<void>(page.evaluate(kDialogText + " = '{not json';"
                                    "document.getElementById('zugJsonDlg').close();"));
    ASSERT_TRUE(page.waitUntil("window.__failed === 1"));
    EXPECT_TRUE(page.posted().isEmpty());
}

TEST(TemplateRendering, TemplateThatHandlebarsRejectsSignalsTheFailure) {
    PageHarness page;
    ASSERT_TRUE(page.load("<p>Invoice</p>"));
    ASSERT_TRUE(page.request(u"{{#if}}", with(kQuiet, &ConversionFlags::generateFacturXml), u""));
    ASSERT_TRUE(page.waitUntil("window.__failed === 1"));
    EXPECT_TRUE(page.posted().isEmpty());
}

TEST(TemplateRendering, PluginWithoutConfigShowsItsDataAndLeavesTheBody) {
    PageHarness page;
    ASSERT_TRUE(page.load("<p id='p'>{{doc.id}}</p>", kPlugin));
    ConversionFlags flags = with(kQuiet, &ConversionFlags::showJson);
    flags.generateFacturXml = true;
    flags.htmlAsTemplate = true;
    ASSERT_TRUE(page.request(u"", flags, u""));
    ASSERT_TRUE(page.waitUntil(kDialogOpen));
    EXPECT_EQ(page.evaluate(kDialogText).toString(),
              "{\n    \"doc\": {\n        \"id\": \"P1\"\n    }\n}");

    static_cast<void>(page.evaluate(QStringLiteral("document.getElementById('zugJsonDlg').close()")));
    ASSERT_TRUE(page.waitUntil("window.__posted.length === 1"));
    EXPECT_EQ(page.posted().front(), R"({"facx":"<x>P1</x>","type":"JSONCMDS"})");
    EXPECT_EQ(page.evaluate(QStringLiteral("p.textContent")).toString(), "{{doc.id}}");
}

TEST(TemplateRendering, PluginConfigRendersTheBodyBeforeDetectionWithoutTheDialog) {
    PageHarness page;
    ASSERT_TRUE(page.load("<p class='c'>%%num: {{doc.id}}%%</p>", kPluginWithConfig));
    ConversionFlags flags = with(kQuiet, &ConversionFlags::showJson);
    flags.detectCommands = true;
    ASSERT_TRUE(page.request(u"", flags, u"c"));
    ASSERT_TRUE(page.waitUntil("window.__posted.length === 1"));
    EXPECT_EQ(page.posted().front(), R"({"cmds":{"num":"P1"},"type":"JSONCMDS"})");
    EXPECT_FALSE(page.evaluate(QStringLiteral("document.getElementById('zugJsonDlg') !== null"))
                     .toBool());
}

}  // namespace
}  // namespace korventa::test
