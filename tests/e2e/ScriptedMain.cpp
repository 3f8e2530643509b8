// korventa-scripted: the window program as users get it, plus the script of ribbon steps that
// the end-to-end tests give it in KORVENTA_TEST_SCRIPT. Built for the tests, never installed.
// A script that cannot be read or parsed ends the program, so a test never runs against a
// window that ignored its steps.
#include <QFile>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "app/WindowProgram.h"
#include "e2e/ScriptedWindow.h"

namespace {

constexpr const char* kScriptVariable = "KORVENTA_TEST_SCRIPT";

std::optional<std::vector<korventa::ScriptStep>> readScript() {
    std::vector<korventa::ScriptStep> steps;
    const char* path = std::getenv(kScriptVariable);
    if (path == nullptr)
        return steps;
    QFile file(QString::fromLocal8Bit(path));
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "%s: cannot read %s\n", kScriptVariable, path);
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    std::string error;
    if (!korventa::parseCommandScript(
            std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), steps,
            error)) {
        std::fprintf(stderr, "%s: %s\n", kScriptVariable, error.c_str());
        return std::nullopt;
    }
    return steps;
}

}  // namespace

int main(int argc, char* argv[]) {
    auto steps = readScript();
    if (!steps)
        return 1;
    return korventa::runWindowProgram(argc, argv, [&steps](korventa::CMainFrame& frame) {
        (new korventa::ScriptedWindow(frame, std::move(*steps)))->start();
    });
}
