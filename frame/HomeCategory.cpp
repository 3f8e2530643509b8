#include "frame/HomeCategory.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <cstdlib>

#include "frame/AddressCombo.h"
#include "frame/CommandId.h"
#include "frame/RibbonPanel.h"

namespace korventa {
namespace {

constexpr int kClassNameWidth = 128;
constexpr int kPrinterBoxWidth = 200;
constexpr int kAddressBoxWidth = 360;
constexpr int kSpacerWidth = 6;
constexpr int kLargeIconSize = 32;

constexpr int kAddressBoxMinimumWidth = 160;
constexpr int kAddressBoxMaximumWidth = 2 * kAddressBoxWidth;
// Large button captions longer than this go on two lines, as a ribbon's do.
constexpr qsizetype kOneLineCaption = 12;

QIcon resourceIcon(const QString& name) {
    return QIcon(QStringLiteral(":/korventa/icons/") + name + QStringLiteral(".svg"));
}

// The caption broken at the blank nearest its middle, when it is long and has one.
QString ribbonCaption(const QString& text) {
    if (text.size() <= kOneLineCaption)
        return text;
    qsizetype best = -1;
    for (qsizetype at = text.indexOf(u' '); at > 0; at = text.indexOf(u' ', at + 1)) {
        if (best < 0 || std::abs(text.size() - 2 * at) < std::abs(text.size() - 2 * best))
            best = at;
    }
    if (best < 0 || best == text.size() - 1)
        return text;
    QString caption = text;
    caption[best] = u'\n';
    return caption;
}

bool isLargeButton(const QAbstractButton* button) {
    const auto* tool = qobject_cast<const QToolButton*>(button);
    return tool != nullptr && tool->toolButtonStyle() == Qt::ToolButtonTextUnderIcon;
}

}  // namespace

HomeCategory::HomeCategory(QWidget* parent) : QWidget(parent) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->setSpacing(4);
    layout->addWidget(createDriverPanel());
    layout->addWidget(createUrlPanel(), 1);
    layout->addStretch(0);
}

bool HomeCategory::setElementText(int id, const QString& text) {
    if (const auto label = labels_.find(id); label != labels_.end()) {
        label->second->setText(text);
        return true;
    }
    for (const auto& [elementId, element] : elements_) {
        auto* button = qobject_cast<QAbstractButton*>(element);
        if (elementId == id && button != nullptr) {
            button->setText(isLargeButton(button) ? ribbonCaption(text) : text);
            return true;
        }
    }
    return false;
}

bool HomeCategory::setElementValue(int id, const QString& value) {
    switch (static_cast<CommandId>(id)) {
        case ID_COMBO_HTMLURL:
            addressBox_->setEditText(value);
            return true;
        case ID_EDIT_CMD_CLASSNAME:
            classNameEdit_->setText(value);
            return true;
        case ID_COMBO_PRINTERSEL: {
            const int index =
                printerBox_->findText(value, Qt::MatchExactly | Qt::MatchCaseSensitive);
            if (index < 0)
                return false;
            printerBox_->setCurrentIndex(index);
            return true;
        }
        case ID_BUTTON_NULL:
        case ID_BUTTON_NAVIGATE:
        case ID_BUTTON_MAINICON:
        case ID_BUTTON_PRINT2PDF:
        case ID_BUTTON_PRINT2EMAIL:
        case ID_BUTTON_PRNSETTINGS:
        case ID_BUTTON_ZUGPDF:
        case ID_BUTTON_ZUGPDF2EMAIL:
        case ID_CHECK_DETECTCMD:
        case ID_CHECK_HTML_AS_TEMPLATE:
        case ID_BUTTON_BROWSEFILE:
        case ID_APP_ABOUT:
            return false;
    }
    return false;
}

void HomeCategory::updateStates(const std::function<CommandState(int)>& stateOf) {
    for (const auto& [id, element] : elements_) {
        const CommandState state = stateOf(id);
        element->setEnabled(state.enabled);
        if (auto* check = qobject_cast<QCheckBox*>(element))
            check->setChecked(state.checked);
    }
}

void HomeCategory::focusFirstElement() {
    if (!elements_.empty())
        elements_.front().second->setFocus(Qt::ShortcutFocusReason);
}

RibbonPanel* HomeCategory::createDriverPanel() {
    auto* panel = new RibbonPanel(QStringLiteral("Veltrix"), this);
    panel->addLarge(createLargeButton(ID_BUTTON_PRINT2PDF, QStringLiteral("My Create PDF"),
                                      QStringLiteral("create-pdf")));
    panel->addLarge(createLargeButton(ID_BUTTON_PRINT2EMAIL, QStringLiteral("PDF/Email"),
                                      QStringLiteral("create-pdf-email")));
    panel->addLarge(createLargeButton(ID_BUTTON_PRNSETTINGS, QStringLiteral("Settings"),
                                      QStringLiteral("printer-settings")));
    panel->addLarge(
        createLargeButton(ID_BUTTON_ZUGPDF, QStringLiteral("ZUGFeRD"), QStringLiteral("invoice")));
    panel->addLarge(createLargeButton(ID_BUTTON_ZUGPDF2EMAIL, QStringLiteral("ZUGFeRD/Email"),
                                      QStringLiteral("invoice-email")));
    QCheckBox* detect =
        createCheckBox(ID_CHECK_DETECTCMD, QStringLiteral("Detect commands in CSS "));
    QLineEdit* className = createClassNameEdit();
    QWidget* printers = createPrinterBox();
    QCheckBox* htmlAsTemplate =
        createCheckBox(ID_CHECK_HTML_AS_TEMPLATE, QStringLiteral("HTML as a template"));
    panel->addColumn({detect, className});
    panel->addColumn({printers, htmlAsTemplate});
    return panel;
}

RibbonPanel* HomeCategory::createUrlPanel() {
    auto* panel = new RibbonPanel(QStringLiteral("URL"), this);
    panel->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    auto* row = new QWidget(panel);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(createSpacer());
    auto* navigate = new QToolButton(row);
    navigate->setIcon(resourceIcon(QStringLiteral("navigate")));
    navigate->setAutoRaise(true);
    navigate->setFocusPolicy(Qt::StrongFocus);
    navigate->setAccessibleName(QStringLiteral("Navigate"));
    connect(navigate, &QToolButton::clicked, this,
            [this] { emit commandRequested(ID_BUTTON_NAVIGATE, 0); });
    addElement(ID_BUTTON_NAVIGATE, navigate);
    layout->addWidget(navigate);
    layout->addWidget(createSpacer());
    layout->addWidget(createSpacer());
    layout->addWidget(createAddressBox());
    layout->addWidget(createSpacer());
    layout->addWidget(createSpacer());
    auto* browse = new QToolButton(row);
    browse->setText(QStringLiteral(" ... "));
    browse->setFocusPolicy(Qt::StrongFocus);
    connect(browse, &QToolButton::clicked, this,
            [this] { emit commandRequested(ID_BUTTON_BROWSEFILE, 0); });
    addElement(ID_BUTTON_BROWSEFILE, browse);
    layout->addWidget(browse);
    layout->addWidget(createSpacer());
    panel->addColumn({row});
    return panel;
}

QToolButton* HomeCategory::createLargeButton(int id, const QString& text, const QString& iconName) {
    auto* button = new QToolButton(this);
    button->setText(ribbonCaption(text));
    button->setIcon(resourceIcon(iconName));
    button->setIconSize(QSize(kLargeIconSize, kLargeIconSize));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::StrongFocus);
    connect(button, &QToolButton::clicked, this, [this, id] { emit commandRequested(id, 0); });
    addElement(id, button);
    return button;
}

QCheckBox* HomeCategory::createCheckBox(int id, const QString& text) {
    auto* check = new QCheckBox(text, this);
    connect(check, &QCheckBox::clicked, this, [this, id] { emit commandRequested(id, 0); });
    addElement(id, check);
    return check;
}

QToolButton* HomeCategory::createSpacer() {
    auto* spacer = new QToolButton(this);
    spacer->setAutoRaise(true);
    spacer->setFixedWidth(kSpacerWidth);
    spacer->setFocusPolicy(Qt::NoFocus);
    addElement(ID_BUTTON_NULL, spacer);
    return spacer;
}

QWidget* HomeCategory::createPrinterBox() {
    printerBox_ = new QComboBox(this);
    printerBox_->setEditable(false);
    printerBox_->setFixedWidth(kPrinterBoxWidth);
    connect(printerBox_, &QComboBox::activated, this,
            [this] { emit commandRequested(ID_COMBO_PRINTERSEL, 0); });
    addElement(ID_COMBO_PRINTERSEL, printerBox_);
    return labelled(ID_COMBO_PRINTERSEL, QStringLiteral("Printer: "), printerBox_);
}

QWidget* HomeCategory::createAddressBox() {
    // The box takes the room the other elements leave, so the ribbon fits a 1280 px screen.
    addressBox_ = new AddressCombo(this);
    addressBox_->setMinimumWidth(kAddressBoxMinimumWidth);
    addressBox_->setMaximumWidth(kAddressBoxMaximumWidth);
    addressBox_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    addressBox_->setMinimumContentsLength(0);
    addressBox_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    connect(addressBox_, &AddressCombo::confirmRequested, this,
            [this] { emit commandRequested(ID_COMBO_HTMLURL, 0); });
    connect(addressBox_, &AddressCombo::selectionRequested, this,
            [this] { emit commandRequested(ID_COMBO_HTMLURL, kAddressSelectionChanged); });
    addElement(ID_COMBO_HTMLURL, addressBox_);
    return labelled(ID_COMBO_HTMLURL, QStringLiteral("URL"), addressBox_);
}

QLineEdit* HomeCategory::createClassNameEdit() {
    classNameEdit_ = new QLineEdit(QStringLiteral("veltrix-cmd"), this);
    classNameEdit_->setFixedWidth(kClassNameWidth);
    classNameEdit_->setAccessibleName(QStringLiteral("Command class name"));
    connect(classNameEdit_, &QLineEdit::editingFinished, this,
            [this] { emit commandRequested(ID_EDIT_CMD_CLASSNAME, 0); });
    addElement(ID_EDIT_CMD_CLASSNAME, classNameEdit_);
    return classNameEdit_;
}

QWidget* HomeCategory::labelled(int id, const QString& text, QWidget* box) {
    auto* holder = new QWidget(this);
    auto* layout = new QHBoxLayout(holder);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    auto* label = new QLabel(text, holder);
    label->setBuddy(box);
    layout->addWidget(label);
    layout->addWidget(box);
    labels_[id] = label;
    return holder;
}

void HomeCategory::addElement(int id, QWidget* element) {
    elements_.emplace_back(id, element);
}

}  // namespace korventa
