// The address box's combo box as the recent-address rules see it. Changing the list keeps the
// edit text: Qt would otherwise show the first item added to an empty box, and the text the
// user typed must survive the refill that confirming it causes.
// Refers to a combo box owned by the ribbon; GUI thread only.
#pragma once

#include <QComboBox>

#include "frame/AddressBox.h"

namespace korventa {

class QtAddressBox final : public AddressBox {
public:
    explicit QtAddressBox(QComboBox& box) : box_(box) {}

    void clearItems() override {
        const QString typed = box_.currentText();
        box_.clear();
        box_.setEditText(typed);
    }
    void addItem(const WString& text) override {
        const QString typed = box_.currentText();
        box_.addItem(QString::fromStdU16String(text));
        box_.setEditText(typed);
    }
    [[nodiscard]] std::size_t itemCount() const override {
        return static_cast<std::size_t>(box_.count());
    }
    [[nodiscard]] WString itemText(std::size_t index) const override {
        return box_.itemText(static_cast<int>(index)).toStdU16String();
    }
    [[nodiscard]] WString editText() const override { return box_.currentText().toStdU16String(); }
    void setEditText(const WString& text) override {
        box_.setEditText(QString::fromStdU16String(text));
    }

private:
    QComboBox& box_;
};

}  // namespace korventa
