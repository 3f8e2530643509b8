// The command surface across the top of the main window, laid out as a ribbon: the round
// application button, the category tab and the category's panels below it. Alt+H brings the
// category forward and puts the keyboard focus on its first element. Owns its children; GUI
// thread only. A window too narrow for the panels scrolls them sideways.
#pragma once

#include <QWidget>

class QTabBar;

namespace korventa {

class HomeCategory;

class RibbonBar final : public QWidget {
    Q_OBJECT

public:
    explicit RibbonBar(const QIcon& appIcon, QWidget* parent = nullptr);

    [[nodiscard]] HomeCategory* home() const { return home_; }
    void setCategoryName(const QString& name);

private:
    void createKeyboardAccess();

    QTabBar* tabs_ = nullptr;       // owned by the bar
    HomeCategory* home_ = nullptr;  // owned by the bar
};

}  // namespace korventa
