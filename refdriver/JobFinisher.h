// What DEXU_PostActionProc does for one prepared job: finishes the job's PDF (document
// information, an invoice XML checked and embedded), delivers it (and the XML, and the invoice
// check's report) to the destination folder
// under a free name, writes an e-mail draft to the outbox when the job asks for one, records
// the outcome in the finished list,
// then removes the job key and the job's folder. A job that fails keeps its key and folder
// for inspection, is recorded as failed and named in one line on standard error. One object
// per call, on the caller's thread; jobs of other threads and processes run alongside.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/SettingsMap.h"
#include "core/Text.h"
#include "refdriver/FinishedJobs.h"
#include "refdriver/InvoiceChecker.h"
#include "refdriver/JobRecord.h"

namespace korventa::refdriver {

class JobFinisher {
public:
    // The checker outlives the object (it is the loaded library's).
    JobFinisher(WStringView jobKeyName, InvoiceChecker& checker)
        : jobKeyName_(jobKeyName), checker_(checker) {}

    // VELT_OK, or a negative VeltResult.
    [[nodiscard]] std::int32_t run();

private:
    struct Delivery {
        std::string folder;
        std::string baseName;
        std::string pdf;
        std::string xml;
        std::string report;  // of the invoice check; empty without an invoice
    };

    [[nodiscard]] std::int32_t finish();
    [[nodiscard]] bool readPdf(std::string& bytes, std::string& error) const;
    void readXml(std::string& bytes);
    void rewritePdf(Delivery& delivery);
    [[nodiscard]] std::optional<InvoiceProfile> checkInvoice(Delivery& delivery);
    void recordCheck(const InvoiceFindings& findings);
    void writeEmailDraft(const Delivery& delivery);
    [[nodiscard]] bool publish(Delivery& delivery, std::string& error);
    [[nodiscard]] std::int32_t complete();
    [[nodiscard]] std::int32_t fail(std::int32_t code, const std::string& reason);
    void report(const std::string& text) const;

    WString jobKeyName_;
    InvoiceChecker& checker_;
    JobRecord record_;
    SettingsMap settings_;
    FinishedJob finished_;
};

}  // namespace korventa::refdriver
