// Every dialog and prompt the system shows, behind one interface: the window supplies Qt
// dialogs, automated tests supply scripted answers so nothing blocks. Window thread only.
#pragma once

#include <optional>
#include <vector>

#include "app/FailurePresenter.h"
#include "core/Text.h"

namespace korventa {

enum class PromptAnswer { Yes, No, Cancel };

struct FileFilter {
    WString description;
    WString pattern;  // e.g. "*.html;*.htm"
};

struct PaperChoice {
    WString name;  // the spooler's media name
    WString label; // what the user sees, e.g. "A4 (210 x 297 mm)"
};

class UserPrompts : public FailurePresenter {
public:
    // Warning icon, Yes / No / Cancel; closing the box counts as Cancel.
    [[nodiscard]] virtual PromptAnswer askYesNoCancel(const WString& caption,
                                                      const WString& text) = 0;
    // A message box with the application title as caption, exclamation icon and OK.
    virtual void showMessage(const WString& text) = 0;
    // An open-file dialog with the filters, the first selected; empty when cancelled.
    [[nodiscard]] virtual std::optional<WString> chooseFileToOpen(
        const std::vector<FileFilter>& filters) = 0;
    // The printer's settings dialog: the papers with `current` selected; the chosen name on
    // OK, empty on Cancel.
    [[nodiscard]] virtual std::optional<WString> choosePaper(const WString& printer,
                                                             const std::vector<PaperChoice>& papers,
                                                             const WString& current) = 0;
    // The About box, modal, closed with OK.
    virtual void showAbout() = 0;
};

}  // namespace korventa
