// An e-mail draft of a finished document: an RFC 5322 message with the PDF attached as MIME
// multipart, marked unsent so that mail programs open it for editing. The driver never sends
// mail. Texts come from the job, so line breaks in header values are removed: a page cannot
// add headers. Pure; any thread.
#pragma once

#include <ctime>
#include <string>
#include <string_view>

namespace korventa::refdriver {

struct EmailFields {
    std::string from;  // UTF-8, each may be empty
    std::string to;
    std::string cc;
    std::string subject;
    std::string body;
};

// Lines end in CRLF. `boundary` must not occur in the parts (base64 never holds "=_").
[[nodiscard]] std::string emailDraft(const EmailFields& fields, std::string_view pdfFileName,
                                     std::string_view pdf, std::time_t date,
                                     std::string_view boundary);

}  // namespace korventa::refdriver
