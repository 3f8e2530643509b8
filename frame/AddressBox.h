// The address box as the recent-address rules see it: a list of items plus an edit text.
// The window's combo box implements it; tests use a plain recorder. Window thread only.
#pragma once

#include <cstddef>

#include "core/Text.h"

namespace korventa {

class AddressBox {
public:
    virtual ~AddressBox() = default;
    virtual void clearItems() = 0;
    virtual void addItem(const WString& text) = 0;
    [[nodiscard]] virtual std::size_t itemCount() const = 0;
    [[nodiscard]] virtual WString itemText(std::size_t index) const = 0;
    [[nodiscard]] virtual WString editText() const = 0;
    virtual void setEditText(const WString& text) = 0;
};

}  // namespace korventa
