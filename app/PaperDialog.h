// The printer's settings dialog: the queue's papers in a list with the current one selected;
// OK gives the selected paper's name. Modal, created on the stack for one showing; GUI thread.
#pragma once

#include <QDialog>
#include <vector>

#include "app/UserPrompts.h"
#include "core/Text.h"

class QListWidget;

namespace korventa {

class PaperDialog final : public QDialog {
    Q_OBJECT

public:
    PaperDialog(const WString& printer, const std::vector<PaperChoice>& papers,
                const WString& current, QWidget* parent = nullptr);

    // Empty when nothing is selected.
    [[nodiscard]] std::optional<WString> chosenPaper() const;

private:
    QListWidget* list_ = nullptr;  // owned by the dialog
    std::vector<PaperChoice> papers_;
};

}  // namespace korventa
