// The driver's library, loaded once by bare file name through the normal library search, and
// its five exports, each looked up by name on every call. A missing library or export makes a
// call fail: -1 for the integer calls, no text for LoadDriverString.
// Copies share one loaded library, which is unloaded when the last copy goes: a thread that
// calls into the library (the post-processing worker) holds its own copy for the whole call,
// so the window may drop its copy while the call runs. Calls are safe from any thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "core/Text.h"
#include "driver/DriverPrinter.h"

namespace korventa {

class DriverLibrary {
public:
    // Not loaded: every call fails.
    DriverLibrary() = default;

    // The library for this process: the 32-bit build for a 32-bit process on a 64-bit kernel.
    [[nodiscard]] static DriverLibrary load();
    // A file name without any folder; a name with a '/' is refused, so the search path decides.
    [[nodiscard]] static DriverLibrary open(std::string_view fileName);
    // The bitness rule on its own: `machine` as uname reports it, the process's pointer size.
    [[nodiscard]] static const char* fileNameFor(std::string_view machine,
                                                 std::size_t pointerSize);

    [[nodiscard]] bool isLoaded() const { return handle_ != nullptr; }

    // False when the export is missing (the call is then skipped).
    [[nodiscard]] bool InitResourceLocale(WStringView printerName) const;
    // Empties `out`; true only for a text that is not blank and not "reserved"/"Reserved" once
    // trimmed, and `out` then holds the text untrimmed.
    [[nodiscard]] bool LoadDriverString(std::uint32_t id, WString& out) const;
    // -1 as well when `printer` is not open.
    [[nodiscard]] std::int32_t DocGetDocInfo2(const DriverPrinter& printer, WStringView jobPrefix,
                                              WStringView documentText, std::uint32_t jobNumber,
                                              bool flag1, bool flag2) const;
    [[nodiscard]] std::int32_t DEXU_PostActionProc(WStringView jobKey, WStringView second) const;

private:
    explicit DriverLibrary(std::shared_ptr<void> handle) : handle_(std::move(handle)) {}
    template <typename Function>
    [[nodiscard]] Function symbol(const char* name) const;

    std::shared_ptr<void> handle_;
};

}  // namespace korventa
