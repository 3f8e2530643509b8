// What the create commands and a scripted request pass on to the print: set by the frame or
// the conversion request, filled by the result intake, read and emptied by the print
// completion. Held by the browser view; window thread only.
#pragma once

#include <string>

#include "core/SettingsMap.h"
#include "core/Text.h"

namespace korventa {

struct RequestState {
    WString printerName;
    int emailEnable = 0;
    int zugferdRequest = 0;
    int intentModeSet = 0;
    int intentMode = 0;
    std::string facturXml;  // UTF-8, as the page produced it
    JobCommandMap commandMap;
    int scriptsInjected = 0;
    WString currentAddress;  // the text the view was last told to open, as typed
    // The folder a caller asked the finished PDF to go to; empty leaves it to the driver.
    WString outputFolder;
};

}  // namespace korventa
