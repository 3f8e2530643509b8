// The Qt dialogs behind every prompt of the system: message boxes, the open-file dialog, the
// printer's paper dialog and the About box. All modal; no owner window except where given, so
// a box shows even before the main window exists. GUI thread only.
#pragma once

#include "app/UserPrompts.h"

namespace korventa {

class QtUserPrompts final : public UserPrompts {
public:
    // The failure box: caption "Error", one OK button, no owner.
    void show(const WString& text) override;
    [[nodiscard]] PromptAnswer askYesNoCancel(const WString& caption, const WString& text) override;
    void showMessage(const WString& text) override;
    [[nodiscard]] std::optional<WString> chooseFileToOpen(
        const std::vector<FileFilter>& filters) override;
    [[nodiscard]] std::optional<WString> choosePaper(const WString& printer,
                                                     const std::vector<PaperChoice>& papers,
                                                     const WString& current) override;
    void showAbout() override;
};

}  // namespace korventa
