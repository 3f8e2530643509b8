// The address box: an editable combo box that tells apart the two ways of choosing an address.
// Enter in the edit field asks for confirmation (the recent list moves); picking an item from
// the list is a selection (the list keeps its order). Qt would also report Enter as an
// activation, so the key is taken before the combo box sees it. GUI thread only.
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
};

}  // namespace korventa
