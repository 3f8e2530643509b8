// The printer box as the frame's commands see it: a drop-down list without edit field. The
// window's combo box implements it; tests use a recorder. Window thread only.
#pragma once

#include "core/Text.h"

namespace korventa {

class PrinterBox {
public:
    virtual ~PrinterBox() = default;
    virtual void addItem(const WString& text) = 0;
    // Selects the first item with exactly this text; none matching leaves no selection.
    virtual void selectText(const WString& text) = 0;
    // Empty when nothing is selected.
    [[nodiscard]] virtual WString selectedText() const = 0;
};

}  // namespace korventa
