// Prompts with scripted answers for tests: Yes/No/Cancel answers are taken from a queue
// (Cancel once it is empty), every question, message and failure text is recorded.
#pragma once

#include <deque>
#include <vector>

#include "app/UserPrompts.h"

namespace korventa::test {

struct AskedQuestion {
    WString caption;
    WString text;
};

class ScriptedPrompts : public UserPrompts {
public:
    std::deque<PromptAnswer> answers;
    std::vector<AskedQuestion> asked;
    std::vector<WString> messages;
    std::vector<WString> failures;

    PromptAnswer askYesNoCancel(const WString& caption, const WString& text) override {
        asked.push_back({caption, text});
        if (answers.empty())
            return PromptAnswer::Cancel;
        const PromptAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void showMessage(const WString& text) override { messages.push_back(text); }
    void show(const WString& text) override { failures.push_back(text); }
    std::optional<WString> chooseFileToOpen(const std::vector<FileFilter>&) override {
        return std::nullopt;
    }
    std::optional<WString> choosePaper(const WString&, const std::vector<PaperChoice>&,
                                       const WString&) override {
        return std::nullopt;
    }
    void showAbout() override {}
};

}  // namespace korventa::test
