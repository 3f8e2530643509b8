#include "view/ConversionScript.h"

#include <gtest/gtest.h>

#include "pagescripts/PageScripts.h"

namespace korventa {
namespace {

constexpr ConversionFlags kInvoiceFlags{.htmlAsTemplate = false,
                                        .generateFacturXml = true,
                                        .showJson = true,
                                        .detectCommands = false,
                                        .hideCommands = true};

std::string shortForm(std::string_view literal, std::string_view callLine) {
    std::string text = "if (typeof zugstr_xmlTemp === 'undefined') {\n";
    text += "var zugstr_xmlTemp = `" + std::string(literal) + "`;\n";
    text += "} else {\n";
    text += "zugstr_xmlTemp = `" + std::string(literal) + "`;\n";
    text += "}\n";
    return text + std::string(callLine) + "\n";
}

TEST(ConversionScript, ShortFormSetsTheTemplateAndCallsTheRenderer) {
    const std::string script =
        assembleConversionScript("HANDLEBARS", u"<x>{{doc.id}}</x>", kInvoiceFlags,
                                 u"veltrix-cmd", true);
    EXPECT_EQ(script, shortForm("<x>{{doc.id}}</x>",
                                "gkvt_zugFun.renderInAppMode(zugstr_jsonIni, zugstr_xmlTemp, "
                                "false, true, true,false,true, 'veltrix-cmd');"));
}

TEST(ConversionScript, ShortFormWithoutTemplateHasEmptyBackticks) {
    const ConversionFlags flags{.htmlAsTemplate = true,
                                .generateFacturXml = false,
                                .showJson = false,
                                .detectCommands = true,
                                .hideCommands = false};
    EXPECT_EQ(assembleConversionScript("", u"", flags, u"", true),
              shortForm("", "gkvt_zugFun.renderInAppMode(zugstr_jsonIni, zugstr_xmlTemp, "
                            "true, false, false,true,false, '');"));
}

TEST(ConversionScript, FullFormCarriesTheLibraryTheTemplateAndTheSampleData) {
    std::string sample(sampleInvoiceJson());
    ASSERT_EQ(sample.find_first_of("`$\r"), std::string::npos);
    for (std::size_t at = sample.find('\\'); at != std::string::npos;
         at = sample.find('\\', at + 2)) {
        sample.insert(at, 1, '\\');
    }

    const std::string script = assembleConversionScript("HANDLEBARS\n", u"<x/>", kInvoiceFlags,
                                                        u"veltrix-cmd", false);

    std::string expected = "HANDLEBARS\n\n";
    expected += commandDetectionScript();
    expected += "\n";
    expected += "if (typeof zugstr_xmlTemp === 'undefined') {\n";
    expected += "var zugstr_xmlTemp = `<x/>`;\n";
    expected += "var zugstr_jsonIni = `\n" + sample + "`; \n";
    expected += "} else {\n";
    expected += "zugstr_xmlTemp = `<x/>`;\n";
    expected += "}\n";
    expected += templateRenderingScript();
    expected += "\n";
    expected += "gkvt_zugFun.renderInAppMode(zugstr_jsonIni, zugstr_xmlTemp, "
                "false, true, true,false,true, 'veltrix-cmd');\n";
    EXPECT_EQ(script, expected);
}

TEST(ConversionScript, FullFormDoublesTheBackslashesOfTheSampleEscapes) {
    const std::string script = assembleConversionScript("", u"", kInvoiceFlags, u"", false);
    EXPECT_NE(script.find("Lieferant GmbH\\\\nLieferantenstra"), std::string::npos);
    EXPECT_NE(script.find("M\xc3\xbcnchen\\\\t\\\\nDeutschland"), std::string::npos);
    EXPECT_NE(script.find("var zugstr_xmlTemp = ``;\n"), std::string::npos);
}

TEST(ConversionScript, TemplateIsEscapedForTheTemplateLiteral) {
    const std::string script = assembleConversionScript(
        "", u"C:\\inv\\{{id}} \\{{raw}} `tick` ${x} $${y} $ {z} cost$\r\nend", kInvoiceFlags,
        u"c", true);
    const std::string literal =
        "C:\\\\inv\\\\{{id}} \\\\{{raw}} \\`tick\\` \\${x} $\\${y} $ {z} cost$\\r\nend";
    EXPECT_EQ(script, shortForm(literal, "gkvt_zugFun.renderInAppMode(zugstr_jsonIni, "
                                         "zugstr_xmlTemp, false, true, true,false,true, 'c');"));
}

TEST(ConversionScript, ClassNameIsEscapedForTheQuotedString) {
    const std::string script = assembleConversionScript(
        "", u"", kInvoiceFlags, u"[data-x='1'], #a\\.b\nnext\r", true);
    EXPECT_NE(script.find(", '[data-x=\\'1\\'], #a\\\\.b\\nnext\\r');\n"), std::string::npos);
}

}  // namespace
}  // namespace korventa
