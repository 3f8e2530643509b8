// The ribbon's widgets on the offscreen platform: no browser, no window shown.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <algorithm>
#include <vector>

#include "frame/AddressCombo.h"
#include "frame/CommandId.h"
#include "frame/HomeCategory.h"
#include "frame/QtAddressBox.h"

namespace korventa {
namespace {

class Ribbon : public testing::Test {
protected:
    Ribbon() {
        QObject::connect(&home_, &HomeCategory::commandRequested, &home_,
                         [this](int id, int code) { commands_.emplace_back(id, code); });
    }

    std::vector<QString> buttonTexts() const {
        std::vector<QString> texts;
        for (auto* button : home_.findChildren<QAbstractButton*>()) {
            if (!button->text().isEmpty())
                texts.push_back(QString(button->text()).replace(u'\n', u' '));
        }
        return texts;
    }

    HomeCategory home_;
    std::vector<std::pair<int, int>> commands_;
};

TEST_F(Ribbon, CarriesTheElementsWithTheirTextsAndWidths) {
    EXPECT_EQ(
        buttonTexts(),
        (std::vector<QString>{"My Create PDF", "PDF/Email", "Settings", "ZUGFeRD", "ZUGFeRD/Email",
                              "Detect commands in CSS ", "HTML as a template", " ... "}));
    EXPECT_EQ(home_.classNameEdit()->width(), 128);
    EXPECT_EQ(home_.classNameEdit()->text(), "veltrix-cmd");
    EXPECT_EQ(home_.printerBox()->width(), 200);
    EXPECT_FALSE(home_.printerBox()->isEditable());
    // The address box takes what the other elements leave.
    EXPECT_EQ(home_.addressBox()->minimumWidth(), 160);
    EXPECT_EQ(home_.addressBox()->sizePolicy().horizontalPolicy(), QSizePolicy::Expanding);
    EXPECT_TRUE(home_.addressBox()->isEditable());
}

TEST_F(Ribbon, LongLargeButtonCaptionsGoOnTwoLines) {
    ASSERT_TRUE(home_.setElementText(ID_BUTTON_ZUGPDF2EMAIL, "Invoice PDF and E-mail"));
    ASSERT_TRUE(home_.setElementText(ID_BUTTON_ZUGPDF, "Invoice PDF"));
    ASSERT_TRUE(home_.setElementText(ID_BUTTON_PRNSETTINGS, "Printer Settings"));
    ASSERT_TRUE(home_.setElementText(ID_CHECK_DETECTCMD, "Detect commands in CSS class"));
    std::vector<QString> texts;
    for (auto* button : home_.findChildren<QAbstractButton*>()) texts.push_back(button->text());
    for (const QString expected : {"Invoice PDF\nand E-mail", "Invoice PDF", "Printer\nSettings",
                                   "Detect commands in CSS class"}) {
        EXPECT_NE(std::find(texts.begin(), texts.end(), expected), texts.end())
            << expected.toStdString();
    }
}

TEST_F(Ribbon, StateUpdateDisablesTheSpacersAndSetsTheCheckBoxes) {
    home_.updateStates([](int id) {
        return CommandState{id != ID_BUTTON_NULL, id == ID_CHECK_HTML_AS_TEMPLATE};
    });
    int spacers = 0;
    for (auto* button : home_.findChildren<QToolButton*>()) {
        if (button->text().isEmpty() && button->accessibleName().isEmpty()) {
            ++spacers;
            EXPECT_FALSE(button->isEnabled());
        }
    }
    EXPECT_EQ(spacers, 6);
    for (auto* check : home_.findChildren<QCheckBox*>()) {
        EXPECT_EQ(check->isChecked(), check->text() == "HTML as a template");
    }
}

TEST_F(Ribbon, DriverLabelReplacesThePrinterBoxCaption) {
    EXPECT_TRUE(home_.setElementText(ID_COMBO_PRINTERSEL, "Drucker: "));
    bool found = false;
    for (auto* label : home_.findChildren<QLabel*>()) found = found || label->text() == "Drucker: ";
    EXPECT_TRUE(found);
    EXPECT_FALSE(home_.setElementText(ID_EDIT_CMD_CLASSNAME, "x"));
}

TEST_F(Ribbon, EnterConfirmsTheAddressAndPickingAnItemSelectsIt) {
    AddressCombo* box = home_.addressBox();
    box->addItem("https://a.example/");
    box->setEditText("https://b.example/");
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(box->lineEdit(), &enter);
    emit box->activated(0);
    EXPECT_EQ(commands_, (std::vector<std::pair<int, int>>{
                             {ID_COMBO_HTMLURL, 0}, {ID_COMBO_HTMLURL, kAddressSelectionChanged}}));
    EXPECT_EQ(box->count(), 1);
}

TEST_F(Ribbon, RefillingTheAddressBoxKeepsTheTypedText) {
    QtAddressBox box(*home_.addressBox());
    box.addItem(u"https://a.example/");
    box.setEditText(u"typed");
    box.clearItems();
    box.addItem(u"https://c.example/");
    EXPECT_EQ(box.editText(), u"typed");
    EXPECT_EQ(box.itemCount(), 1u);
}

}  // namespace
}  // namespace korventa

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
