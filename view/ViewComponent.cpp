#include "view/ViewComponent.h"

#include <QWidget>

namespace korventa {

ViewComponent::ViewComponent(QWidget& browserWidget) : browserWidget_(browserWidget) {
    browserWidget_.setGeometry(bounds_);
}

void ViewComponent::setBounds(const QRect& bounds) {
    bounds_ = bounds;
    browserWidget_.setGeometry(bounds_);
}

}  // namespace korventa
