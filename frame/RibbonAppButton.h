// The ribbon's round application button: shows the application icon at 32 x 32 and ignores
// every click, so it opens no menu and a double-click does not close the window. Owned by the
// ribbon bar; GUI thread only.
#pragma once

#include <QIcon>
#include <QWidget>

namespace korventa {

class RibbonAppButton final : public QWidget {
    Q_OBJECT

public:
    explicit RibbonAppButton(const QIcon& icon, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QIcon icon_;
};

}  // namespace korventa
