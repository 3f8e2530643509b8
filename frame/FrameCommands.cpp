#include "frame/FrameCommands.h"

#include <vector>

#include "appmode/ApplicationMode.h"
#include "driver/DriverNames.h"
#include "driver/DriverPrinters.h"
#include "frame/CommandId.h"
#include "frame/PrinterSettingsCommand.h"
#include "frame/ReadableFile.h"

namespace korventa {

FrameCommands::FrameCommands(FrameView& view, UserPrompts& prompts, PrintSpooler& spooler,
                             LayeredSettings& layers)
    : view_(view), prompts_(prompts), spooler_(spooler), layers_(layers), conversion_(view) {}

void FrameCommands::applySettings(const ConverterSettings& settings) {
    selectedPrinter_ = settings.printerName;
    currentUrl_ = settings.url;
    recentText_ = settings.recentText;
    bDetectCmd_ = settings.detectCommands;
    bHideCmd_ = settings.hideCommands;
    cmdClass_ = settings.commandClass;
    bHtmlAsTemplate_ = settings.htmlAsTemplate;
}

void FrameCommands::startView() {
    view_.requestState().currentAddress = currentUrl_;
    view_.InitializeWebView();
}

void FrameCommands::attachControls(PrinterBox* printerBox, TextField* classEdit,
                                   AddressBox* addressBox, const std::set<WString>& printerNames) {
    printerCombo_ = printerBox;
    cmdClassEdit_ = classEdit;
    addressCombo_ = addressBox;
    driverQueues_ = printerNames;
    if (printerCombo_ != nullptr) {
        for (const auto& name : printerNames) printerCombo_->addItem(name);
        if (selectedPrinter_.empty())
            selectedPrinter_ = DriverProductName;
        printerCombo_->selectText(printerQueue());
        view_.requestState().printerName = printerQueue();
    }
    if (cmdClassEdit_ != nullptr)
        cmdClassEdit_->setText(cmdClass_);
    if (addressCombo_ != nullptr) {
        recent_.load(recentText_);
        recent_.AddRecentAddress(currentUrl_, true, addressCombo_);
        addressCombo_->setEditText(currentUrl_);
    }
}

void FrameCommands::onCommand(int id, int notificationCode) {
    switch (static_cast<CommandId>(id)) {
        case ID_COMBO_PRINTERSEL:
            selectPrinter();
            return;
        case ID_COMBO_HTMLURL:
            if (notificationCode == kAddressSelectionChanged) {
                followAddressSelection();
            } else {
                confirmAddress();
            }
            return;
        case ID_BUTTON_NAVIGATE:
            confirmAddress();
            return;
        case ID_BUTTON_BROWSEFILE:
            browse();
            return;
        case ID_BUTTON_PRINT2PDF:
            create(false, false);
            return;
        case ID_BUTTON_PRINT2EMAIL:
            create(true, false);
            return;
        case ID_BUTTON_ZUGPDF:
            create(false, true);
            return;
        case ID_BUTTON_ZUGPDF2EMAIL:
            create(true, true);
            return;
        case ID_BUTTON_PRNSETTINGS:
            showPrinterSettings();
            return;
        case ID_CHECK_DETECTCMD:
            bDetectCmd_ = !bDetectCmd_;
            return;
        case ID_CHECK_HTML_AS_TEMPLATE:
            bHtmlAsTemplate_ = !bHtmlAsTemplate_;
            return;
        case ID_EDIT_CMD_CLASSNAME:
            takeClassName();
            return;
        case ID_APP_ABOUT:
            prompts_.showAbout();
            return;
        case ID_BUTTON_NULL:
        case ID_BUTTON_MAINICON:
            return;
    }
}

CommandState FrameCommands::commandState(int id) const {
    switch (static_cast<CommandId>(id)) {
        case ID_CHECK_DETECTCMD:
            return {true, bDetectCmd_};
        case ID_CHECK_HTML_AS_TEMPLATE:
            return {true, bHtmlAsTemplate_};
        case ID_BUTTON_NAVIGATE:
        case ID_COMBO_PRINTERSEL:
        case ID_COMBO_HTMLURL:
        case ID_BUTTON_PRINT2PDF:
        case ID_BUTTON_PRINT2EMAIL:
        case ID_BUTTON_PRNSETTINGS:
        case ID_BUTTON_ZUGPDF:
        case ID_BUTTON_ZUGPDF2EMAIL:
        case ID_EDIT_CMD_CLASSNAME:
        case ID_BUTTON_BROWSEFILE:
        case ID_APP_ABOUT:
            return {true, false};
        case ID_BUTTON_NULL:
        case ID_BUTTON_MAINICON:
            return {};
    }
    return {};
}

void FrameCommands::OpenAddress(WStringView path) {
    if (addressCombo_ == nullptr)
        return;
    currentUrl_ = path;
    recent_.AddRecentAddress(currentUrl_, false, addressCombo_);
    addressCombo_->setEditText(currentUrl_);
    openCurrentUrl();
}

void FrameCommands::StartApplicationMode(WStringView name) {
    if (name.empty())
        return;
    OpenAddress(applicationPagePath(ParentFolder(layers_.GetDriverInstallPath()), name));
}

ConverterSettings FrameCommands::settingsToSave() const {
    ConverterSettings settings;
    settings.printerName = selectedPrinter_;
    settings.url = currentUrl_;
    settings.recentText = RecentAddresses::savedText(addressCombo_);
    settings.detectCommands = bDetectCmd_;
    settings.hideCommands = bHideCmd_;
    settings.commandClass = cmdClass_;
    settings.htmlAsTemplate = bHtmlAsTemplate_;
    return settings;
}

void FrameCommands::selectPrinter() {
    if (printerCombo_ == nullptr)
        return;
    const WString text = printerCombo_->selectedText();
    if (text.empty())
        return;
    selectedPrinter_ = text;
    view_.requestState().printerName = text;
}

// Typed or confirmed with the navigate button: the address goes to the front of the list.
void FrameCommands::confirmAddress() {
    if (addressCombo_ == nullptr)
        return;
    const WString text = addressCombo_->editText();
    if (!text.empty()) {
        recent_.AddRecentAddress(text, false, addressCombo_);
        currentUrl_ = text;
    }
    openCurrentUrl();
}

// Picked from the box's own list: the list keeps its order.
void FrameCommands::followAddressSelection() {
    if (addressCombo_ == nullptr)
        return;
    const WString text = addressCombo_->editText();
    if (!text.empty())
        currentUrl_ = text;
    openCurrentUrl();
}

void FrameCommands::openCurrentUrl() {
    view_.requestState().currentAddress = currentUrl_;
    view_.NavigateCurrent();
}

void FrameCommands::browse() {
    const std::vector<FileFilter> filters{{u"*.html;*.htm", u"*.html;*.htm"},
                                          {u"*.jpg;*.jpeg", u"*.jpg;*.jpeg"}};
    const auto path = prompts_.chooseFileToOpen(filters);
    if (!path || !opensForReadingAlone(*path))
        return;
    OpenAddress(*path);
}

// With no invoice and both script switches off the page is printed as it is; every other
// create is a scripted conversion request. Neither starts while the view is busy, as a held
// printing slot drops a request.
void FrameCommands::create(bool email, bool invoice) {
    if (view_.isBusy())
        return;
    if (invoice || bDetectCmd_ || bHtmlAsTemplate_) {
        const ConversionOptions options{email, bHtmlAsTemplate_, invoice, bShowJsonWhenPrint_,
                                        bDetectCmd_, bHideCmd_};
        conversion_.RequestConversion(printerQueue(), options, cmdClass_);
        return;
    }
    RequestState& state = view_.requestState();
    state.printerName = printerQueue();
    state.emailEnable = email ? 1 : 0;
    state.intentModeSet = 0;
    state.zugferdRequest = 0;
    state.intentMode = 0;
    (void)view_.StartPdfPrint();
}

void FrameCommands::showPrinterSettings() {
    const WString printer = selectedPrinter_.empty() ? WString(DriverProductName) : printerQueue();
    ShowPrinterSettings(spooler_, prompts_, printer);
}

WString FrameCommands::printerQueue() const {
    return resolveDriverPrinter(selectedPrinter_, driverQueues_);
}

void FrameCommands::takeClassName() {
    if (cmdClassEdit_ == nullptr)
        return;
    cmdClass_ = cmdClassEdit_->text();
}

}  // namespace korventa
