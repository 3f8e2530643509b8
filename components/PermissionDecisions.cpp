#include "components/PermissionDecisions.h"

namespace korventa {

WStringView PermissionDecisions::kindName(std::int32_t kind) {
    switch (kind) {
        case kPermissionMicrophone:
            return u"Microphone";
        case kPermissionCamera:
            return u"Camera";
        case kPermissionGeolocation:
            return u"Geolocation";
        case kPermissionNotifications:
            return u"Notifications";
        case kPermissionGenericSensors:
            return u"Generic Sensors";
        case kPermissionClipboardRead:
            return u"Clipboard Read";
        default:
            return u"Unknown resources";  // any number the browser may add later
    }
}

WString PermissionDecisions::promptText(const PermissionKey& key) {
    WString text = u"An iframe has requested device permission for ";
    text += kindName(key.kind);
    text += u" to the website at ";
    text += key.address;
    text += u"?\n\nDo you want to grant permission?\n";
    text += key.userGesture != 0 ? u"This request came from a user gesture."
                                 : u"This request did not come from a user gesture.";
    return text;
}

PermissionState PermissionDecisions::decide(const PermissionKey& key, UserPrompts& prompts) {
    if (const auto hit = permissionCache_.find(key); hit != permissionCache_.end()) {
        return hit->second ? PermissionState::Allow : PermissionState::Deny;
    }
    switch (prompts.askYesNoCancel(u"Permission Request", promptText(key))) {
        case PromptAnswer::Yes:
            permissionCache_[key] = true;
            return PermissionState::Allow;
        case PromptAnswer::No:
            permissionCache_[key] = false;
            return PermissionState::Deny;
        case PromptAnswer::Cancel:
            return PermissionState::Default;
    }
    return PermissionState::Default;
}

}  // namespace korventa
