// Replaces a file's content all at once: the bytes go to a temporary file beside it, which
// is renamed over the target only when completely written, so a failed export never leaves
// a cut or mixed file behind. Any thread, one call per file at a time.
#pragma once

#include <string>
#include <string_view>

namespace korventa::regtool {

class AtomicFile {
public:
    // On failure error names the step and the system's reason.
    [[nodiscard]] static bool write(const std::string& path, std::string_view bytes,
                                    std::string& error);
};

}  // namespace korventa::regtool
