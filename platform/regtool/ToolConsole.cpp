#include "platform/regtool/ToolConsole.h"

#include <istream>
#include <ostream>
#include <string>

#include "platform/registry/RegistryHive.h"
#include "platform/regtool/AsciiText.h"

namespace korventa::regtool {
namespace {

std::string statusMessage(reg::RegStatus status, const std::string& hivePath) {
    const std::string hive = "the registry hive " + hivePath;
    switch (status) {
        case reg::RegStatus::Ok:
            return "Unexpected success status.";
        case reg::RegStatus::NotFound:
            return "The system was unable to find the specified registry key or value.";
        case reg::RegStatus::AccessDenied:
            return "Access is denied: " + hive + " may not be written by this user.";
        case reg::RegStatus::BadHive:
            return "Cannot use " + hive +
                   ": it is damaged, not a hive, or of a newer version. It was not changed.";
        case reg::RegStatus::Busy:
            return "Another program kept " + hive + " locked for too long. Try again.";
        case reg::RegStatus::InvalidArgument:
            return "Invalid key or value name.";
        case reg::RegStatus::IoError:
            return "Cannot read or write " + hive + ".";
    }
    return "Unknown registry status.";
}

}  // namespace

void ToolConsole::write(WStringView text) { out_ << toUtf8(text); }

bool ToolConsole::confirm(WStringView question) {
    for (;;) {
        out_ << toUtf8(question) << " (Yes/No)? " << std::flush;
        if (!interactive_) {
            out_ << '\n';
            return false;
        }
        std::string line;
        if (!std::getline(in_, line)) {
            out_ << '\n';
            return false;
        }
        const WString answer(trimBlanks(fromUtf8(line)));
        if (equalsIgnoringCase(answer, "yes") || equalsIgnoringCase(answer, "y")) return true;
        if (equalsIgnoringCase(answer, "no") || equalsIgnoringCase(answer, "n")) return false;
    }
}

int ToolConsole::succeed() {
    out_ << "The operation completed successfully.\n";
    return kSuccess;
}

int ToolConsole::fail(std::string_view message) {
    err_ << "ERROR: " << message << '\n';
    return kFailure;
}

std::string ToolConsole::describe(reg::RegStatus status, const reg::RegistryHive& hive) {
    const bool damaged = status == reg::RegStatus::NotFound && hive.isDamaged();
    return statusMessage(damaged ? reg::RegStatus::BadHive : status, hive.path());
}

int ToolConsole::fail(reg::RegStatus status, const reg::RegistryHive& hive) {
    return fail(describe(status, hive));
}

int ToolConsole::cancelled() {
    if (!interactive_) {
        return fail("Nothing was changed: the question needs an answer from a terminal. "
                    "Add /f (/y for export) to answer Yes in advance.");
    }
    return fail("The operation was canceled by the user. Nothing was changed.");
}

int ToolConsole::syntaxError(std::string_view verb) {
    return fail("Invalid syntax. Type \"korventa-reg " + std::string(verb) + " /?\" for usage.");
}

}  // namespace korventa::regtool
