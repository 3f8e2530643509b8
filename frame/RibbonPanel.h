// One panel of a ribbon category: its elements in a row, small ones stacked in columns, and
// its title along the bottom edge. Owned by its category (Qt parent); GUI thread only.
#pragma once

#include <QFrame>
#include <initializer_list>

class QHBoxLayout;
class QLabel;

namespace korventa {

class RibbonPanel final : public QFrame {
    Q_OBJECT

public:
    RibbonPanel(const QString& title, QWidget* parent = nullptr);

    void addLarge(QWidget* element);
    // Elements stacked from the top in one column.
    void addColumn(std::initializer_list<QWidget*> elements);
    void setTitle(const QString& title);

private:
    QHBoxLayout* row_ = nullptr;  // owned through the panel's layout
    QLabel* title_ = nullptr;     // owned by the panel
};

}  // namespace korventa
