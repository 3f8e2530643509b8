#include "frame/RibbonPanel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace korventa {

RibbonPanel::RibbonPanel(const QString& title, QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("ribbonPanel"));
    setFrameShape(QFrame::StyledPanel);
    // Panels keep their natural width, as a ribbon's do; the category's end takes the slack.
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    row_ = new QHBoxLayout;
    row_->setContentsMargins(4, 4, 4, 0);
    row_->setSpacing(2);
    title_ = new QLabel(title, this);
    title_->setObjectName(QStringLiteral("ribbonPanelTitle"));
    title_->setAlignment(Qt::AlignHCenter);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    layout->addLayout(row_, 1);
    layout->addWidget(title_);
}

void RibbonPanel::addLarge(QWidget* element) {
    row_->addWidget(element, 0, Qt::AlignTop);
}

void RibbonPanel::addColumn(std::initializer_list<QWidget*> elements) {
    auto* column = new QVBoxLayout;
    column->setSpacing(4);
    for (QWidget* element : elements) column->addWidget(element);
    column->addStretch(1);
    row_->addLayout(column);
}

void RibbonPanel::setTitle(const QString& title) {
    title_->setText(title);
}

}  // namespace korventa
