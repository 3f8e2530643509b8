// What the package tests share: shell commands with their output, and the package this build
// made (build/package, by cpack in the test fixture that runs first).
#pragma once

#include <string>
#include <vector>

namespace korventa::test {

struct CommandResult {
    int status = -1;     // the exit status, -1 when the command did not exit normally
    std::string output;  // standard output and standard error, interleaved
};

[[nodiscard]] CommandResult runCommand(const std::string& command);
// The text in single quotes for the shell.
[[nodiscard]] std::string shellQuoted(const std::string& text);
// The package of this version in the package folder, or empty when there is none or more
// than one.
[[nodiscard]] std::string builtPackage();
[[nodiscard]] std::vector<std::string> linesOf(const std::string& text);

}  // namespace korventa::test
