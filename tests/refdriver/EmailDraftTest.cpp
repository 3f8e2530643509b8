// E-mail drafts as a mail program reads them: headers it can parse, the PDF attachment byte for
// byte, and no header that a page's text could smuggle in.
#include "refdriver/EmailDraft.h"

#include <gtest/gtest.h>

#include <string>

#include "support/Base64.h"

namespace korventa::refdriver {
namespace {

constexpr std::time_t kDate = 1796838600;  // Wed, 09 Dec 2026 17:50:00 UTC
constexpr std::string_view kBoundary = "=_b_=";

// The base64 body of the part whose headers contain `marker`.
std::string partBody(const std::string& message, std::string_view marker) {
    const auto headers = message.find(marker);
    const auto start = message.find("\r\n\r\n", headers) + 4;
    const auto end = message.find("--" + std::string(kBoundary), start);
    return test::decodeBase64(std::string_view(message).substr(start, end - start));
}

TEST(EmailDraft, CarriesTheFieldsAndThePdfByteForByte) {
    std::string pdf = "%PDF-1.7\n";
    for (int i = 0; i < 300; ++i) pdf += static_cast<char>(i % 256);
    const std::string message = emailDraft({"", "a@example.org", "b@example.org", "Invoice 7",
                                            "Dear customer,\nplease find attached."},
                                           "Invoice 7.pdf", pdf, kDate, kBoundary);

    EXPECT_TRUE(message.starts_with("To: a@example.org\r\nCc: b@example.org\r\n"
                                    "Subject: Invoice 7\r\nDate: Wed, 09 Dec 2026 17:50:00 +0000\r\n"
                                    "X-Unsent: 1\r\nMIME-Version: 1.0\r\n"
                                    "Content-Type: multipart/mixed; boundary=\"=_b_=\"\r\n\r\n"))
        << message.substr(0, 300);
    EXPECT_EQ(partBody(message, "text/plain"), "Dear customer,\nplease find attached.");
    EXPECT_EQ(partBody(message, "application/pdf"), pdf);
    EXPECT_NE(message.find("Content-Disposition: attachment; filename=\"Invoice 7.pdf\"\r\n"),
              std::string::npos);
    EXPECT_TRUE(message.ends_with("--=_b_=--\r\n"));
    for (std::size_t at = message.find('\n'); at != std::string::npos;
         at = message.find('\n', at + 1)) {
        ASSERT_EQ(message[at - 1], '\r') << "bare line feed at " << at;
    }
}

TEST(EmailDraft, LineBreaksInFieldsCannotAddHeaders) {
    const std::string message =
        emailDraft({"", "a@example.org\r\nBcc: spy@example.org", "", "Hi\nX-Evil: 1", ""},
                   "x.pdf", "%PDF", kDate, kBoundary);
    EXPECT_EQ(message.find("\r\nBcc:"), std::string::npos);
    EXPECT_EQ(message.find("\nX-Evil"), std::string::npos);
    EXPECT_NE(message.find("To: a@example.org  Bcc: spy@example.org\r\n"), std::string::npos);
}

TEST(EmailDraft, TextBeyondAsciiIsEncodedForHeadersAndFileNames) {
    const std::string message =
        emailDraft({"", "", "", "Rechnung für März", ""}, "Rechnung März.pdf", "%PDF", kDate,
                   kBoundary);
    EXPECT_NE(message.find("Subject: =?UTF-8?B?UmVjaG51bmcgZsO8ciBNw6Ryeg==?=\r\n"),
              std::string::npos);
    EXPECT_NE(message.find("filename*=UTF-8''Rechnung%20M%C3%A4rz.pdf"), std::string::npos);
    EXPECT_NE(message.find("filename=\"Rechnung M__rz.pdf\""), std::string::npos);
}

}  // namespace
}  // namespace korventa::refdriver
