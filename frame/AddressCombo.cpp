#include "frame/AddressCombo.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace korventa {

AddressCombo::AddressCombo(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    // Completion would pick items on its own and blur the two routes.
    setCompleter(nullptr);
    setMaxVisibleItems(32);
    lineEdit()->installEventFilter(this);
    connect(this, &QComboBox::activated, this, &AddressCombo::selectionRequested);
}

bool AddressCombo::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lineEdit() && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            emit confirmRequested();
            return true;
        }
    }
    return QComboBox::eventFilter(watched, event);
}

}  // namespace korventa
