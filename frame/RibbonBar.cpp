#include "frame/RibbonBar.h"

#include <QHBoxLayout>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QTabBar>
#include <QVBoxLayout>

#include "frame/HomeCategory.h"
#include "frame/RibbonAppButton.h"

namespace korventa {
namespace {

// A light, flat ribbon look of our own; only colours and borders, so the platform style
// still draws the controls.
constexpr const char* kStyle = R"(
QWidget#ribbonBar { background: #dfe9f5; }
QFrame#ribbonPanel { background: #eef3fa; border: 1px solid #b6c7de; border-radius: 3px; }
QLabel#ribbonPanelTitle { color: #3b5478; }
QScrollArea, QScrollArea > QWidget > QWidget { background: transparent; }
QTabBar::tab { padding: 3px 14px; background: #dfe9f5; border: 1px solid transparent; }
QTabBar::tab:selected { background: #eef3fa; border: 1px solid #b6c7de; border-bottom: none; }
)";

}  // namespace

RibbonBar::RibbonBar(const QIcon& appIcon, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ribbonBar"));
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(QString::fromLatin1(kStyle));
    tabs_ = new QTabBar(this);
    tabs_->addTab(QStringLiteral("Home"));
    tabs_->setDrawBase(false);
    tabs_->setFocusPolicy(Qt::NoFocus);
    home_ = new HomeCategory(this);
    // A window narrower than the panels scrolls them sideways instead of squeezing them.
    auto* area = new QScrollArea(this);
    area->setWidget(home_);
    area->setWidgetResizable(true);
    area->setFrameShape(QFrame::NoFrame);
    area->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    area->setFixedHeight(home_->sizeHint().height() +
                         area->horizontalScrollBar()->sizeHint().height());

    auto* top = new QHBoxLayout;
    top->setContentsMargins(0, 0, 0, 0);
    top->addWidget(new RibbonAppButton(appIcon, this));
    top->addWidget(tabs_, 0, Qt::AlignBottom);
    top->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->setSpacing(0);
    layout->addLayout(top);
    layout->addWidget(area);
    createKeyboardAccess();
}

void RibbonBar::setCategoryName(const QString& name) {
    tabs_->setTabText(0, name);
}

void RibbonBar::createKeyboardAccess() {
    auto* shortcut = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_H), this);
    shortcut->setContext(Qt::WindowShortcut);
    connect(shortcut, &QShortcut::activated, this, [this] {
        tabs_->setCurrentIndex(0);
        home_->focusFirstElement();
    });
}

}  // namespace korventa
