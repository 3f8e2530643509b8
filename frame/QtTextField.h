// The class name box's line edit as the frame's commands see it. Refers to a line edit owned
// by the ribbon; GUI thread only.
#pragma once

#include <QLineEdit>

#include "frame/TextField.h"

namespace korventa {

class QtTextField final : public TextField {
public:
    explicit QtTextField(QLineEdit& edit) : edit_(edit) {}

    [[nodiscard]] WString text() const override { return edit_.text().toStdU16String(); }
    void setText(const WString& text) override { edit_.setText(QString::fromStdU16String(text)); }

private:
    QLineEdit& edit_;
};

}  // namespace korventa
