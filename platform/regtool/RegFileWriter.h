// Builds an exported .reg file in memory: the version 5 header, [KEY] sections in the order
// they are added (each closed by a blank line), one line per value, hex data wrapped with backslash continuations at 80
// columns. bytes() gives UTF-16LE with a byte order mark and CRLF line ends. One object per
// file, one thread.
#pragma once

#include <string>

#include "core/Text.h"
#include "platform/registry/RegValue.h"

namespace korventa::regtool {

class RegFileWriter {
public:
    RegFileWriter();

    // False, writing nothing, for a name the format cannot hold (one with a line break).
    [[nodiscard]] bool addKey(WStringView fullName);
    [[nodiscard]] bool addValue(const reg::RegValue& value);

    [[nodiscard]] std::string bytes() const;

private:
    void appendHex(const reg::RegValue& value);

    WString text_;
    std::size_t lineStart_ = 0;
};

}  // namespace korventa::regtool
