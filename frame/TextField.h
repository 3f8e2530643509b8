// A one-line text element of the ribbon (the class name box) as the frame's commands see it.
// The window's line edit implements it; tests use a plain holder. Window thread only.
#pragma once

#include "core/Text.h"

namespace korventa {

class TextField {
public:
    virtual ~TextField() = default;
    [[nodiscard]] virtual WString text() const = 0;
    virtual void setText(const WString& text) = 0;
};

}  // namespace korventa
