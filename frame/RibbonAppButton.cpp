#include "frame/RibbonAppButton.h"

#include <QMouseEvent>
#include <QPainter>

namespace korventa {
namespace {

constexpr int kDiameter = 44;
constexpr int kIconSize = 32;

}  // namespace

RibbonAppButton::RibbonAppButton(const QIcon& icon, QWidget* parent)
    : QWidget(parent), icon_(icon) {
    setFixedSize(kDiameter, kDiameter);
    setAccessibleName(QStringLiteral("KORVENTA"));
}

void RibbonAppButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QRadialGradient gradient(rect().center(), kDiameter / 2.0);
    gradient.setColorAt(0.0, QColor(0xf4, 0xf8, 0xfd));
    gradient.setColorAt(1.0, QColor(0x9d, 0xb9, 0xdc));
    painter.setBrush(gradient);
    painter.setPen(QPen(QColor(0x6f, 0x8f, 0xba), 1.0));
    painter.drawEllipse(rect().adjusted(1, 1, -1, -1));
    const int offset = (kDiameter - kIconSize) / 2;
    icon_.paint(&painter, QRect(offset, offset, kIconSize, kIconSize));
}

void RibbonAppButton::mousePressEvent(QMouseEvent* event) {
    event->accept();
}
void RibbonAppButton::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
}
void RibbonAppButton::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
}

}  // namespace korventa
