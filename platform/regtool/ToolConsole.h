// The admin tool's streams: results on out, one "ERROR: ..." line per failure on err, and the
// (Yes/No) questions read from in. Answers count only when they can come from a person:
// input that is not a terminal, or that ends, answers No. Borrows the streams; one thread.
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>

#include "core/Text.h"
#include "platform/registry/RegStatus.h"
#include "platform/registry/RegistryHive.h"

namespace korventa::regtool {

class ToolConsole {
public:
    static constexpr int kSuccess = 0;
    static constexpr int kFailure = 1;

    ToolConsole(std::istream& in, std::ostream& out, std::ostream& err, bool interactive)
        : in_(in), out_(out), err_(err), interactive_(interactive) {}

    [[nodiscard]] std::ostream& out() { return out_; }
    void write(WStringView text);

    // Asks until the answer is yes or no (y, n, any case).
    [[nodiscard]] bool confirm(WStringView question);

    [[nodiscard]] static std::string describe(reg::RegStatus status,
                                               const reg::RegistryHive& hive);

    int succeed();
    int fail(std::string_view message);
    int fail(reg::RegStatus status, const reg::RegistryHive& hive);
    int cancelled();
    int syntaxError(std::string_view verb);

private:
    std::istream& in_;
    std::ostream& out_;
    std::ostream& err_;
    bool interactive_;
};

}  // namespace korventa::regtool
