// Keeps the browser's bounds: the browser widget gets the rectangle it is given, and an
// empty one from construction until the first resize. Holds a reference to the browser
// widget, which the view keeps alive longer; GUI thread only.
#pragma once

#include <QRect>

#include "components/ComponentBase.h"

class QWidget;

namespace korventa {

class ViewComponent : public ComponentBase {
public:
    explicit ViewComponent(QWidget& browserWidget);

    void setBounds(const QRect& bounds);
    [[nodiscard]] const QRect& bounds() const { return bounds_; }

private:
    QWidget& browserWidget_;
    QRect bounds_;
};

}  // namespace korventa
