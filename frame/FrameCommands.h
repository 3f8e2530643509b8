// The main frame's state and its whole command table, without widgets: the converter values it
// holds from load to close, the ribbon controls it reads (through small interfaces, null while
// an element is missing) and the one dispatch of every ribbon command. Owned by CMainFrame,
// which owns the controls and the view; tests drive it with doubles. Window thread only.
#pragma once

#include <set>

#include "app/UserPrompts.h"
#include "core/Text.h"
#include "driver/LayeredSettings.h"
#include "frame/AddressBox.h"
#include "frame/ConverterSettings.h"
#include "frame/ConversionRequest.h"
#include "frame/FrameView.h"
#include "frame/PrinterBox.h"
#include "frame/RecentAddresses.h"
#include "frame/TextField.h"
#include "platform/spooler/PrintSpooler.h"

namespace korventa {

struct CommandState {
    bool enabled = false;
    bool checked = false;
};

class FrameCommands {
public:
    FrameCommands(FrameView& view, UserPrompts& prompts, PrintSpooler& spooler,
                  LayeredSettings& layers);

    // The loaded values; the recent text waits for the address box in attachControls.
    void applySettings(const ConverterSettings& settings);
    // The view opens the current address once its browser exists.
    void startView();
    // The ribbon's controls, any of them null: fills the printer box and selects the saved
    // printer (the product name when none is saved), shows the class name and the address and
    // fills the address box from the recent list.
    void attachControls(PrinterBox* printerBox, TextField* classEdit, AddressBox* addressBox,
                        const std::set<WString>& printerNames);

    void onCommand(int id, int notificationCode);
    [[nodiscard]] CommandState commandState(int id) const;

    // Makes `path` the current address, first in the recent list and shown in the address box,
    // and opens it; nothing without an address box.
    void OpenAddress(WStringView path);
    // Opens the application page of that name beside the driver's installation; an empty
    // name does nothing.
    void StartApplicationMode(WStringView name);

    // The seven values as the close saves them: the recent text from the box's first items.
    [[nodiscard]] ConverterSettings settingsToSave() const;

    [[nodiscard]] const WString& selectedPrinter() const { return selectedPrinter_; }
    // The queue the create commands print on: the chosen printer resolved among the driver's
    // queues (the product name stands for the first of them).
    [[nodiscard]] WString printerQueue() const;
    // Whether the spooler listed any queue of the driver at start.
    [[nodiscard]] bool hasDriverQueue() const { return !driverQueues_.empty(); }
    // Whether conversions show the invoice data for editing first; on unless a caller that
    // supplies the data itself turns it off.
    void setShowJsonWhenPrint(bool show) { bShowJsonWhenPrint_ = show; }
    // The switch without a ribbon control: whether found page commands are hidden.
    void setHideCommands(bool hide) { bHideCmd_ = hide; }
    [[nodiscard]] const WString& currentUrl() const { return currentUrl_; }
    [[nodiscard]] const RecentAddresses& recentAddresses() const { return recent_; }

private:
    void selectPrinter();
    void confirmAddress();
    void followAddressSelection();
    void openCurrentUrl();
    void browse();
    void create(bool email, bool invoice);
    void showPrinterSettings();
    void takeClassName();

    FrameView& view_;
    UserPrompts& prompts_;
    PrintSpooler& spooler_;
    LayeredSettings& layers_;
    PrinterBox* printerCombo_ = nullptr;
    AddressBox* addressCombo_ = nullptr;
    TextField* cmdClassEdit_ = nullptr;
    WString selectedPrinter_;
    WString currentUrl_;
    WString cmdClass_;
    WString recentText_;
    std::set<WString> driverQueues_;
    bool bDetectCmd_ = true;
    bool bHideCmd_ = true;
    bool bHtmlAsTemplate_ = false;
    bool bShowJsonWhenPrint_ = true;  // no control or setting changes it
    RecentAddresses recent_;
    ConversionRequest conversion_;
};

}  // namespace korventa
