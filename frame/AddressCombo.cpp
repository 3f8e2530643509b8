#include "frame/AddressCombo.h"

#include <QAbstractItemView>
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

bool AddressCombo::confirmOnEnter(const QKeyEvent& key) {
    if (key.key() != Qt::Key_Return && key.key() != Qt::Key_Enter)
        return false;
    emit confirmRequested();
    return true;
}

bool AddressCombo::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lineEdit() && event->type() == QEvent::KeyPress &&
        confirmOnEnter(*static_cast<QKeyEvent*>(event))) {
        return true;
    }
    return QComboBox::eventFilter(watched, event);
}

void AddressCombo::keyPressEvent(QKeyEvent* event) {
    // An open list takes Enter as the pick of its item, through `activated`.
    if (!view()->isVisible() && confirmOnEnter(*event)) {
        event->accept();
        return;
    }
    QComboBox::keyPressEvent(event);
}

}  // namespace korventa
