#include "app/CheckFailure.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace korventa {
namespace {

// The exit status of a fail-fast end; what the platform calls a fast-fail exception.
constexpr int kFailFastExitCode = 134;

WString hexField(HResult status) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%8x", static_cast<unsigned>(status));
    return fromUtf8(digits);
}

void writeToStandardError(const WString& text) {
    const std::string line = toUtf8(text) + "\n";
    // write(2) directly: stdio buffers might never be flushed once the process is gone.
    std::size_t done = 0;
    while (done < line.size()) {
        const ssize_t n = ::write(STDERR_FILENO, line.data() + done, line.size() - done);
        if (n <= 0) return;
        done += static_cast<std::size_t>(n);
    }
}

}  // namespace

WString FailureReporter::failureText(HResult status, WStringView message) {
    return WString(message) + u": 0x" + hexField(status);
}

void FailureReporter::ShowFailure(HResult status, WStringView message) {
    presenter_.show(failureText(status, message));
}

void FailureReporter::CheckFailure(HResult status, WStringView location) {
    if (!failed(status)) return;
    const WString text = failureText(status, location);
    writeToStandardError(text);
    presenter_.show(text);
    std::_Exit(kFailFastExitCode);
}

}  // namespace korventa
