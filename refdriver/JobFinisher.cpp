#include "refdriver/JobFinisher.h"

#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <optional>
#include <system_error>

#include "core/FileBytes.h"
#include "driver/DriverAbi.h"
#include "driver/LayeredSettings.h"
#include "platform/registry/RegStatus.h"
#include "refdriver/ChildProcess.h"
#include "refdriver/EmailDraft.h"
#include "refdriver/FilePublisher.h"
#include "refdriver/HybridPdf.h"
#include "refdriver/OutputFolders.h"
#include "refdriver/OutputName.h"
#include "refdriver/PdfCheck.h"
#include "refdriver/ValidationReport.h"

namespace korventa::refdriver {
namespace {

constexpr std::size_t kMaxXmlBytes = std::size_t{64} << 20;
constexpr std::string_view kPdfHeader = "%PDF-";
constexpr std::string_view kMimeBoundary = "=_korventa_part_=";

}  // namespace

std::int32_t JobFinisher::run() {
    std::string error;
    if (!record_.load(jobKeyName_, error)) return fail(VELT_E_JOB_FILES, error);
    LayeredSettings layers;
    layers.LoadLayeredSettings(SettingsForm::Driver, settings_);
    return finish();
}

std::int32_t JobFinisher::finish() {
    Delivery delivery;
    std::string error;
    if (const WString writeError = record_.text(u"JobWriteError"); !writeError.empty())
        return fail(VELT_E_JOB_FILES, "the job was not written whole: " + toUtf8(writeError));
    if (!readPdf(delivery.pdf, error)) return fail(VELT_E_JOB_FILES, error);
    if (!checkPdfIntact(delivery.pdf, error)) return fail(VELT_E_PDF, error);
    if (!destinationFolder(record_.text(u"JobOutputFolder"), settings_, delivery.folder, error)) {
        return fail(VELT_E_OUTPUT, error);
    }
    std::string refused;
    delivery.baseName = outputBaseName(record_.text(u"DestFileName"), record_.title(), refused);
    if (!refused.empty()) report("DestFileName \"" + refused + "\" is not a plain file name");
    readXml(delivery.xml);
    rewritePdf(delivery);
    if (!publish(delivery, error)) return fail(VELT_E_OUTPUT, error);
    if (record_.isSet(u"EmailEnable")) writeEmailDraft(delivery);
    return complete();
}

// A failed print leaves an empty file behind; anything that is not a PDF is no document.
bool JobFinisher::readPdf(std::string& bytes, std::string& error) const {
    if (!readFileBytes(record_.pdfPath(), LinkPolicy::Refuse, MaxJobPdfBytes, bytes, error)) {
        return false;
    }
    if (bytes.empty()) {
        error = "the PDF is empty (0 bytes): the print failed";
        return false;
    }
    if (!bytes.starts_with(kPdfHeader)) {
        error = "the job's file is not a PDF";
        return false;
    }
    return true;
}

// The job's own XML file may not be followed through a link; a file named by a local page may.
void JobFinisher::readXml(std::string& bytes) {
    const std::string path = record_.xmlPath();
    if (path.empty()) return;
    std::string error;
    const LinkPolicy links = record_.ownsXml() ? LinkPolicy::Refuse : LinkPolicy::Follow;
    if (!readFileBytes(path, links, kMaxXmlBytes, bytes, error)) {
        finished_.invoiceError = fromUtf8(error);
    } else if (bytes.empty()) {
        finished_.invoiceError = u"the invoice XML file is empty";
    }
    if (!finished_.invoiceError.empty()) report(toUtf8(finished_.invoiceError));
}

// Document information and, for a well-formed invoice XML, the embedded invoice, checked
// first. A PDF that cannot be rewritten is still delivered as the browser made it, and an
// invalid invoice is embedded all the same: nothing of the job is lost.
void JobFinisher::rewritePdf(Delivery& delivery) {
    std::optional<InvoiceAttachment> invoice;
    if (!delivery.xml.empty()) {
        if (const auto profile = checkInvoice(delivery)) {
            invoice = InvoiceAttachment{delivery.xml, *profile};
        }
    }
    const DocumentInfo info{toUtf8(record_.title()), toUtf8(record_.text(u"DocAuthor")),
                            toUtf8(record_.text(u"DocSubject")),
                            toUtf8(record_.text(u"DocKeywords")), {}, {}};
    std::string error;
    if (!finishPdf(delivery.pdf, info, invoice ? &*invoice : nullptr, error)) {
        if (invoice)
            finished_.invoiceError = fromUtf8(error);
        report(error);
    }
}

// The profile the XML declares, or none for XML that is not well-formed. Either way the
// outcome and its report are kept.
std::optional<InvoiceProfile> JobFinisher::checkInvoice(Delivery& delivery) {
    ReportSubject subject;
    subject.document = toUtf8(record_.title());
    subject.xmlSource = record_.ownsXml() ? "rendered by the program for this job"
                                          : record_.xmlPath();
    subject.requested = toUtf8(record_.text(u"AnnZUGProfile"));
    std::string error;
    InvoiceFindings findings;
    const bool wellFormed = checkInvoiceXml(delivery.xml, subject.guideline, error);
    std::string warning;
    subject.profile = invoiceProfile(subject.requested, subject.guideline, warning);
    if (wellFormed) {
        findings = checker_.check(delivery.xml, subject.profile);
    } else {
        finished_.invoiceError = fromUtf8(error);
        report(error);
        findings.verdict = InvoiceVerdict::Invalid;
        findings.errors.push_back("XML: " + error);
        findings.schemaOutcome = findings.rulesOutcome = "not checked: the XML is not well-formed";
    }
    if (!warning.empty()) findings.warnings.insert(findings.warnings.begin(), warning);
    recordCheck(findings);
    delivery.report = validationReport(subject, findings);
    if (!wellFormed) return std::nullopt;
    return subject.profile;
}

void JobFinisher::recordCheck(const InvoiceFindings& findings) {
    const auto lines = [](const std::vector<std::string>& list) {
        std::string text;
        for (const auto& line : list) text += (text.empty() ? "" : "\n") + line;
        return fromUtf8(text);
    };
    finished_.invoiceCheck = fromUtf8(verdictName(findings.verdict));
    finished_.invoiceCheckRules = lines(findings.errors);
    finished_.invoiceCheckWarnings = lines(findings.warnings);
    if (findings.verdict == InvoiceVerdict::Invalid) {
        report("the invoice is invalid: " + findings.errors.front() +
               (findings.errors.size() > 1
                    ? " (and " + std::to_string(findings.errors.size() - 1) + " more)"
                    : ""));
    }
}

// The document is delivered already; a draft that cannot be written is recorded, not fatal.
void JobFinisher::writeEmailDraft(const Delivery& delivery) {
    const auto text = [this](WStringView name) { return toUtf8(record_.text(name)); };
    const EmailFields fields{text(u"EmailFrom"), text(u"EmailTo"), text(u"EmailCc"),
                             text(u"EmailSubject"), text(u"EmailBody")};
    const std::string pdfName = std::filesystem::path(toUtf8(finished_.outputPdf)).filename();
    const std::string draft =
        emailDraft(fields, pdfName, delivery.pdf, std::time(nullptr), kMimeBoundary);
    std::string folder;
    std::string error;
    FilePublisher publisher;
    if (!outboxFolder(settings_, folder, error) || !publisher.open(folder, error) ||
        !publisher.add(".eml", draft, error) || !publisher.publish(delivery.baseName, error)) {
        finished_.emailError = fromUtf8(error);
        report("the e-mail draft was not written: " + error);
        return;
    }
    finished_.outputEmail = fromUtf8(publisher.paths().front());
    // Only a desktop session has a mail program to show the draft in.
    if (std::getenv("DISPLAY") != nullptr || std::getenv("WAYLAND_DISPLAY") != nullptr) {
        (void)startDetached({"xdg-open", publisher.paths().front()});
    }
}

bool JobFinisher::publish(Delivery& delivery, std::string& error) {
    FilePublisher publisher;
    if (!publisher.open(delivery.folder, error) || !publisher.add(".pdf", delivery.pdf, error)) {
        return false;
    }
    if (!delivery.xml.empty() && !publisher.add(".xml", delivery.xml, error)) return false;
    if (!delivery.report.empty() && !publisher.add(".validation.txt", delivery.report, error)) {
        return false;
    }
    if (!publisher.publish(delivery.baseName, error)) return false;
    const auto& paths = publisher.paths();
    finished_.outputPdf = fromUtf8(paths.front());
    if (!delivery.xml.empty()) finished_.outputXml = fromUtf8(paths[1]);
    if (!delivery.report.empty()) finished_.invoiceCheckReport = fromUtf8(paths.back());
    return true;
}

// The outputs exist from here on: a list that cannot be written keeps key and folder, so the
// job is not lost, but its files are not delivered twice either.
std::int32_t JobFinisher::complete() {
    finished_.result = u"OK";
    if (const auto status = recordFinishedJob(jobKeyName_, finished_, true);
        status != reg::RegStatus::Ok) {
        report(std::string("the finished list cannot be written: ") + reg::describe(status));
        return VELT_E_REGISTRY;
    }
    std::error_code removeError;
    std::filesystem::remove_all(record_.folder(), removeError);
    if (removeError) report("the job folder stays: " + removeError.message());
    return VELT_OK;
}

std::int32_t JobFinisher::fail(std::int32_t code, const std::string& reason) {
    report(reason);
    finished_.result = u"Failed: " + fromUtf8(reason);
    if (const auto status = recordFinishedJob(jobKeyName_, finished_, false);
        status != reg::RegStatus::Ok) {
        report(std::string("the failure cannot be recorded: ") + reg::describe(status));
    }
    return code;
}

// One write per line, so lines of jobs finishing at once do not interleave.
void JobFinisher::report(const std::string& text) const {
    const std::string line = "veltpdfp: job " + toUtf8(jobKeyName_) + ": " + text + "\n";
    [[maybe_unused]] const ssize_t ignored = ::write(STDERR_FILENO, line.data(), line.size());
}

}  // namespace korventa::refdriver
