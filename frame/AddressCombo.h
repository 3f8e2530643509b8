// The address box: an editable combo box that tells apart the two ways of choosing an address.
// Return or keypad Enter asks for confirmation (the recent list moves); picking an item from
// the list is a selection (the list keeps its order). With the box focused Qt hands typed keys
// to the edit field by a direct call that no event filter sees, and would report Enter on a
// listed text as an activation, so the key is taken in the box's own key handler; the filter
// on the edit field covers keys sent to the field itself. GUI thread only.
#pragma once

#include <QComboBox>

namespace korventa {

class AddressCombo final : public QComboBox {
    Q_OBJECT

public:
    explicit AddressCombo(QWidget* parent = nullptr);

signals:
    void confirmRequested();
    void selectionRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // True when the key was Return or Enter and the confirmation has been asked.
    bool confirmOnEnter(const QKeyEvent& key);
};

}  // namespace korventa
