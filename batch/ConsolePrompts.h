// The prompts of a run without a user: failure texts go to standard error (and are kept, so
// the run can name the reason of a failed input), questions are answered No, dialogs are not
// shown. Main thread.
#pragma once

#include "app/UserPrompts.h"

namespace korventa {

class ConsolePrompts final : public UserPrompts {
public:
    void show(const WString& text) override;
    PromptAnswer askYesNoCancel(const WString& caption, const WString& text) override;
    void showMessage(const WString& text) override;
    std::optional<WString> chooseFileToOpen(const std::vector<FileFilter>& filters) override;
    std::optional<WString> choosePaper(const WString& printer,
                                       const std::vector<PaperChoice>& papers,
                                       const WString& current) override;
    void showAbout() override {}

    // The last failure or message shown, and forgets it.
    [[nodiscard]] WString takeLastText();

private:
    WString lastText_;
};

}  // namespace korventa
