// The printer box's combo box as the frame's commands see it. Refers to a combo box owned by
// the ribbon; GUI thread only.
#pragma once

#include <QComboBox>

#include "frame/PrinterBox.h"

namespace korventa {

class QtPrinterBox final : public PrinterBox {
public:
    explicit QtPrinterBox(QComboBox& box) : box_(box) {}

    void addItem(const WString& text) override { box_.addItem(QString::fromStdU16String(text)); }
    void selectText(const WString& text) override {
        box_.setCurrentIndex(box_.findText(QString::fromStdU16String(text),
                                           Qt::MatchExactly | Qt::MatchCaseSensitive));
    }
    [[nodiscard]] WString selectedText() const override {
        return box_.currentIndex() < 0 ? WString() : box_.currentText().toStdU16String();
    }

private:
    QComboBox& box_;
};

}  // namespace korventa
