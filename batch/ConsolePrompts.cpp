#include "batch/ConsolePrompts.h"

#include <cstdio>
#include <utility>

namespace korventa {

void ConsolePrompts::show(const WString& text) {
    std::fprintf(stderr, "korventa-convert: %s\n", toUtf8(text).c_str());
    lastText_ = text;
}

PromptAnswer ConsolePrompts::askYesNoCancel(const WString&, const WString&) {
    return PromptAnswer::No;
}

void ConsolePrompts::showMessage(const WString& text) {
    show(text);
}

std::optional<WString> ConsolePrompts::chooseFileToOpen(const std::vector<FileFilter>&) {
    return std::nullopt;
}

std::optional<WString> ConsolePrompts::choosePaper(const WString&, const std::vector<PaperChoice>&,
                                                   const WString&) {
    return std::nullopt;
}

WString ConsolePrompts::takeLastText() {
    return std::exchange(lastText_, WString());
}

}  // namespace korventa
