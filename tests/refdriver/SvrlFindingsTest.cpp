// The rules' report as the published stylesheet writes it: attributes on lines of their own,
// findings between rule-group markers, flags telling errors from warnings.
#include "refdriver/SvrlFindings.h"

#include <gtest/gtest.h>

namespace korventa::refdriver {
namespace {

constexpr const char* kReport = R"(<?xml version="1.0" encoding="UTF-8"?>
<svrl:schematron-output xmlns:svrl="http://purl.oclc.org/dsdl/svrl" title="EN16931 model bound to CII">
   <svrl:active-pattern document="" id="EN16931-CII-Model"/>
   <svrl:fired-rule context="//ram:IncludedSupplyChainTradeLineItem"/>
   <svrl:failed-assert test="(ram:RateApplicablePercent) &gt; 0"
                       id="BR-S-05"
                       flag="fatal"
                       location="/*:CrossIndustryInvoice[namespace-uri()='urn:x'][1]/*:Line[1]">
      <svrl:text>[BR-S-05]-In an Invoice line where the Invoiced item VAT category code is
      "Standard rated" the Invoiced item VAT rate shall be greater than zero.</svrl:text>
   </svrl:failed-assert>
   <svrl:failed-assert test="x" id="BR-CO-14" flag="fatal" location="/a"><svrl:text>[BR-CO-14]-Sum.</svrl:text></svrl:failed-assert>
   <svrl:active-pattern document="" id="CII-SR"/>
   <svrl:failed-assert test="y"
                       id="CII-SR-011"
                       flag="warning"
                       location="/b">
      <svrl:text>[CII-SR-011] - SpecifiedTradeProduct should not be present</svrl:text>
   </svrl:failed-assert>
   <svrl:successful-report test="z" location="/c"><svrl:text>Noted.</svrl:text></svrl:successful-report>
</svrl:schematron-output>
)";

TEST(SvrlFindings, FailedAssertsBecomeErrorsOrWarningsByTheirFlag) {
    std::vector<RuleFinding> findings;
    std::string error;
    ASSERT_TRUE(parseSvrl(kReport, findings, error)) << error;
    ASSERT_EQ(findings.size(), 4u);
    EXPECT_EQ(findings[0].id, "BR-S-05");
    EXPECT_TRUE(findings[0].fatal);
    EXPECT_EQ(findings[0].text,
              "In an Invoice line where the Invoiced item VAT category code is \"Standard rated\" "
              "the Invoiced item VAT rate shall be greater than zero.");
    EXPECT_EQ(findings[0].location,
              "/*:CrossIndustryInvoice[namespace-uri()='urn:x'][1]/*:Line[1]");
    EXPECT_EQ(findings[1].id, "BR-CO-14");
    EXPECT_EQ(findings[1].text, "Sum.");
    EXPECT_EQ(findings[2].id, "CII-SR-011");
    EXPECT_FALSE(findings[2].fatal);
    // A finding without a flag counts as an error: nothing unknown is waved through.
    EXPECT_EQ(findings[3].id, "rule");
    EXPECT_TRUE(findings[3].fatal);
}

TEST(SvrlFindings, ReportWithoutFindingsIsReadAsClean) {
    std::vector<RuleFinding> findings{{"old", "", "", true}};
    std::string error;
    ASSERT_TRUE(parseSvrl("<svrl:schematron-output xmlns:svrl='http://purl.oclc.org/dsdl/svrl'>"
                          "<svrl:fired-rule context='/'/></svrl:schematron-output>",
                          findings, error));
    EXPECT_TRUE(findings.empty());
}

TEST(SvrlFindings, AnythingButAReportIsRefused) {
    std::vector<RuleFinding> findings;
    std::string error;
    EXPECT_FALSE(parseSvrl("", findings, error));
    EXPECT_FALSE(parseSvrl("<schematron-output><failed-assert id='x'/></schematron-output>",
                           findings, error));
    EXPECT_FALSE(parseSvrl("<svrl:schematron-output xmlns:svrl='http://purl.oclc.org/dsdl/svrl'>",
                           findings, error));
    EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace korventa::refdriver
