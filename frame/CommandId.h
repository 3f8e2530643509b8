// The ribbon's command identifiers and the About command. The numbers are the ones the
// command table, the driver labels and the test scripts refer to: fixed, never renumbered.
#pragma once

namespace korventa {

enum CommandId : int {
    ID_BUTTON_NULL = 32771,  // the URL panel's spacers: no handler, so always disabled
    ID_BUTTON_NAVIGATE = 32772,
    ID_COMBO_PRINTERSEL = 32773,
    ID_COMBO_HTMLURL = 32774,
    ID_BUTTON_MAINICON = 32775,
    ID_BUTTON_PRINT2PDF = 32778,
    ID_BUTTON_PRINT2EMAIL = 32779,
    ID_BUTTON_PRNSETTINGS = 32780,
    ID_BUTTON_ZUGPDF = 32781,
    ID_BUTTON_ZUGPDF2EMAIL = 32782,
    ID_CHECK_DETECTCMD = 32783,
    ID_EDIT_CMD_CLASSNAME = 32784,
    ID_CHECK_HTML_AS_TEMPLATE = 32785,
    ID_BUTTON_BROWSEFILE = 32786,
    ID_APP_ABOUT = 57664,
};

// Notification code of the address box when the user picks one of its items.
inline constexpr int kAddressSelectionChanged = 1;

}  // namespace korventa
