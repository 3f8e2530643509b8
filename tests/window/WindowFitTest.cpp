// The window on a 1280 × 800 screen: its first size, the ribbon without a scroll bar, and a
// saved placement that lies off every screen.
#include <QAbstractButton>
#include <QApplication>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

#include "frame/MainFrame.h"
#include "window/WindowHarness.h"

namespace korventa {
namespace {

constexpr WStringView kWorkspaceKey = u"Software\\TALVENIR\\KORVENTA\\Workspace";

class WindowFit : public test::WindowHarness {
protected:
    QRect available() const { return QApplication::primaryScreen()->availableGeometry(); }

    // The widget's rectangle in the window's coordinates.
    QRect inWindow(const QWidget* widget) const {
        return QRect(widget->mapTo(frame_.get(), QPoint(0, 0)), widget->size());
    }
};

TEST_F(WindowFit, FirstStartFitsTheScreenAndShowsTheWholeRibbon) {
    openWindow();
    ASSERT_EQ(available().width(), 1280) << "the suite's screen";
    EXPECT_TRUE(available().contains(frame_->frameGeometry()))
        << frame_->frameGeometry().width() << "x" << frame_->frameGeometry().height();

    for (auto* area : frame_->menuWidget()->findChildren<QScrollArea*>())
        EXPECT_FALSE(area->horizontalScrollBar()->isVisible());
    const QRect window = frame_->rect();
    for (const QString& text :
         {QStringLiteral("Invoice PDF and E-mail"), QStringLiteral(" ... "),
          QStringLiteral("HTML as a template"), QStringLiteral("Printer Settings")}) {
        QAbstractButton* button = ribbonButton(text);
        ASSERT_NE(button, nullptr) << text.toStdString();
        EXPECT_TRUE(window.contains(inWindow(button))) << text.toStdString();
    }
    EXPECT_TRUE(window.contains(inWindow(addressBox())));
    EXPECT_GE(addressBox()->width(), 160);
}

TEST_F(WindowFit, PlacementOffEveryScreenIsBroughtBack) {
    for (const auto& [name, value] : {std::pair{u"WindowLeft", u"3000"}, {u"WindowTop", u"40"},
                                      {u"WindowWidth", u"1000"}, {u"WindowHeight", u"700"}}) {
        putUserText(kWorkspaceKey, name, value);
    }
    openWindow();
    EXPECT_TRUE(available().contains(frame_->frameGeometry()))
        << frame_->frameGeometry().x() << "," << frame_->frameGeometry().y();
    EXPECT_EQ(frame_->width(), 1000);
}

}  // namespace
}  // namespace korventa
