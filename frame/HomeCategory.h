// The ribbon's one category, "Home": the driver panel (create buttons, switches, class name,
// printer box) and the URL panel (navigate, address box, browse) with their spacers. Every
// element reports its command through commandRequested; enabling and check states come from
// updateStates only. Owns its elements (Qt children); GUI thread only.
#pragma once

#include <QWidget>
#include <functional>
#include <map>
#include <utility>
#include <vector>

#include "frame/FrameCommands.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QToolButton;

namespace korventa {

class AddressCombo;
class RibbonPanel;

class HomeCategory final : public QWidget {
    Q_OBJECT

public:
    explicit HomeCategory(QWidget* parent = nullptr);

    [[nodiscard]] QComboBox* printerBox() const { return printerBox_; }
    [[nodiscard]] AddressCombo* addressBox() const { return addressBox_; }
    [[nodiscard]] QLineEdit* classNameEdit() const { return classNameEdit_; }

    // The element's caption (a button's or check box's text, a box's label); false when no
    // element of that command has one.
    bool setElementText(int id, const QString& text);
    // What the user would type or pick: the address or class name text, or the printer box
    // item with that text. False when the element takes no value or has no such item.
    bool setElementValue(int id, const QString& value);
    void updateStates(const std::function<CommandState(int)>& stateOf);
    void focusFirstElement();

signals:
    void commandRequested(int id, int notificationCode);

private:
    RibbonPanel* createDriverPanel();
    RibbonPanel* createUrlPanel();
    QToolButton* createLargeButton(int id, const QString& text, const QString& iconName);
    QCheckBox* createCheckBox(int id, const QString& text);
    QToolButton* createSpacer();
    QWidget* createPrinterBox();
    QWidget* createAddressBox();
    QLineEdit* createClassNameEdit();
    QWidget* labelled(int id, const QString& text, QWidget* box);
    void addElement(int id, QWidget* element);

    std::vector<std::pair<int, QWidget*>> elements_;  // in ribbon order; not owned
    std::map<int, QLabel*> labels_;                   // captions of the boxes; not owned
    QComboBox* printerBox_ = nullptr;
    AddressCombo* addressBox_ = nullptr;
    QLineEdit* classNameEdit_ = nullptr;
};

}  // namespace korventa
