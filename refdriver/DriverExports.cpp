// The five exports of the reference driver. Nothing may be thrown across the C boundary, so
// every body is caught here; the exports only translate between C and the classes behind them.
// The interface carries no context, so what must outlive a call lives as long as the loaded
// library, usable from any thread: the chosen language and the invoice checker (its parsed
// schemas and warm rule checker), found in invoice-checks/ beside the library.
#include "driver/DriverAbi.h"

#include <dlfcn.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <new>
#include <string>

#include "core/SettingsMap.h"
#include "core/Text.h"
#include "driver/DriverNames.h"
#include "driver/LayeredSettings.h"
#include "refdriver/InvoiceChecker.h"
#include "refdriver/JobFinisher.h"
#include "refdriver/JobPreparation.h"
#include "refdriver/JobSweep.h"
#include "refdriver/ResourceTexts.h"

namespace {

using korventa::refdriver::TextLanguage;

std::atomic<TextLanguage> currentLanguage{TextLanguage::English};

TextLanguage configuredLanguage() {
    korventa::LayeredSettings settings;
    korventa::SettingsMap values;
    settings.LoadLayeredSettings(korventa::SettingsForm::Driver, values);
    const auto language = values.find(u"Language");
    return korventa::refdriver::languageFor(language == values.end() ? korventa::WStringView()
                                                                     : language->second);
}

std::string checksFolder() {
    Dl_info library{};
    if (::dladdr(reinterpret_cast<void*>(&checksFolder), &library) == 0 ||
        library.dli_fname == nullptr) {
        return "invoice-checks";
    }
    return (std::filesystem::path(library.dli_fname).parent_path() / "invoice-checks").string();
}

korventa::refdriver::InvoiceChecker& invoiceChecker() {
    static korventa::refdriver::InvoiceChecker checker(checksFolder());
    return checker;
}

char16_t* copyText(const char16_t* text) {
    const std::size_t length = std::char_traits<char16_t>::length(text);
    auto* copy = new (std::nothrow) char16_t[length + 1];
    if (copy != nullptr) std::copy(text, text + length + 1, copy);
    return copy;
}

// Jobs of programs that have ended are cleared once per process; their PDFs are kept.
void sweepLeftovers() {
    const korventa::refdriver::SweepOutcome outcome = korventa::refdriver::sweepAbandonedJobs();
    if (outcome.rescued == 0) return;
    const std::string line = "veltpdfp: " + std::to_string(outcome.rescued) +
                             " PDF(s) of jobs that did not finish were kept in " +
                             outcome.undelivered + "\n";
    [[maybe_unused]] const ssize_t ignored = ::write(STDERR_FILENO, line.data(), line.size());
}

bool isUsableJobKey(const char16_t* jobKey) {
    if (jobKey == nullptr || jobKey[0] == u'\0') return false;
    const korventa::WStringView name(jobKey);
    return name.size() <= korventa::MaxJobKeyNameLength &&
           std::none_of(name.begin(), name.end(), [](char16_t c) { return c < 0x20; });
}

}  // namespace

extern "C" {

// The language is the driver's for every printer; the name is accepted for the interface.
// Programs call this once they have loaded the library, long before their first job: the
// rule checker's start (the JVM and the stylesheet's compilation) begins here, so it is over
// before the first invoice is finished.
VELT_DRIVER_EXPORT void InitResourceLocale(const char16_t* /*printerName*/) {
    try {
        currentLanguage = configuredLanguage();
    } catch (...) {
        currentLanguage = TextLanguage::English;
    }
    try {
        invoiceChecker().warmUp();
    } catch (...) {
        // A checker that cannot start now is started, or its absence reported, by the job.
    }
    static std::once_flag swept;
    try {
        std::call_once(swept, sweepLeftovers);
    } catch (...) {
        // What is left stays for the next program's start.
    }
}

VELT_DRIVER_EXPORT char16_t* DEXU_LoadResString(uint32_t id) {
    const char16_t* text = korventa::refdriver::findText(id, currentLanguage);
    return text == nullptr ? nullptr : copyText(text);
}

VELT_DRIVER_EXPORT void DEXU_FreeAllocStr(char16_t* text) { delete[] text; }

// Neither flag changes how the reference driver prepares a job.
VELT_DRIVER_EXPORT int32_t DocGetDocInfo2(VeltPrinterHandle printer, const char16_t* jobPrefix,
                                          const char16_t* documentText, uint32_t jobNumber,
                                          uint8_t /*flag1*/, uint8_t /*flag2*/) {
    try {
        const std::int32_t result =
            korventa::refdriver::prepareJob(printer, jobPrefix, documentText, jobNumber);
        // Any job may carry an invoice; the checker's start then overlaps the print.
        if (result >= 0) invoiceChecker().warmUp();
        return result;
    } catch (...) {
        return VELT_E_INTERNAL;
    }
}

// The job key name becomes a key of the finished list and a line of its order, so control
// characters are refused with the other malformed names.
VELT_DRIVER_EXPORT int32_t DEXU_PostActionProc(const char16_t* jobKey, const char16_t* second) {
    if (!isUsableJobKey(jobKey) || second == nullptr) return VELT_E_INVALID_ARGUMENT;
    try {
        return korventa::refdriver::JobFinisher(jobKey, invoiceChecker()).run();
    } catch (...) {
        return VELT_E_INTERNAL;
    }
}

}  // extern "C"
