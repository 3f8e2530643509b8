#include "driver/JobOutcome.h"

#include <gtest/gtest.h>

namespace korventa {
namespace {

using Details = std::vector<WString>;

TEST(JobOutcome, DeliveredJobNamesThePdfAndTheInvoiceVerdict) {
    const JobOutcome outcome = JobOutcome::fromFinishedEntry({
        {u"Result", u"OK"},
        {u"OutputPDF", u"/home/me/Documents/Veltrix/Invoice 471103.pdf"},
        {u"OutputEmail", u"/home/me/Documents/Veltrix/Invoice 471103.eml"},
        {u"InvoiceCheck", u"invalid"},
        {u"InvoiceCheckRules", u"BR-CO-10: Sum of line net amount\r\nXSD: bad date\n\n"},
        {u"InvoiceCheckWarnings", u"profile EN 16931 asked, BASIC found"},
        {u"InvoiceCheckReport", u"/home/me/Documents/Veltrix/Invoice 471103.svrl"},
    });
    EXPECT_EQ(outcome.kind, JobOutcome::Kind::Delivered);
    EXPECT_EQ(outcome.pdfPath, u"/home/me/Documents/Veltrix/Invoice 471103.pdf");
    EXPECT_EQ(outcome.headline, u"PDF saved: /home/me/Documents/Veltrix/Invoice 471103.pdf");
    EXPECT_EQ(outcome.invoiceCheck, u"invalid");
    EXPECT_EQ(outcome.reportPath, u"/home/me/Documents/Veltrix/Invoice 471103.svrl");
    EXPECT_EQ(outcome.details,
              (Details{u"Rule failed: BR-CO-10: Sum of line net amount", u"Rule failed: XSD: bad date",
                       u"Warning: profile EN 16931 asked, BASIC found",
                       u"E-mail draft: /home/me/Documents/Veltrix/Invoice 471103.eml"}));
}

TEST(JobOutcome, FailedJobGivesTheDriversReason) {
    const JobOutcome outcome = JobOutcome::fromFinishedEntry(
        {{u"Result", u"Failed: the folder /out cannot be written"}, {u"OutputPDF", u"/out/a.pdf"}});
    EXPECT_EQ(outcome.kind, JobOutcome::Kind::Failed);
    EXPECT_EQ(outcome.headline, u"No PDF was made: the folder /out cannot be written");
    EXPECT_EQ(outcome.pdfPath, u"");
    EXPECT_EQ(outcome.invoiceCheck, u"");
    EXPECT_TRUE(outcome.details.empty());
}

TEST(JobOutcome, EntryWithoutResultIsAFailureOfItsOwn) {
    for (const SettingsMap& entry : {SettingsMap{}, SettingsMap{{u"OutputPDF", u"/a.pdf"}}}) {
        const JobOutcome outcome = JobOutcome::fromFinishedEntry(entry);
        EXPECT_EQ(outcome.kind, JobOutcome::Kind::Failed);
        EXPECT_EQ(outcome.headline, u"The driver recorded nothing for the job.");
    }
}

}  // namespace
}  // namespace korventa
