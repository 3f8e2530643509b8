// The answers to the browser's permission requests: a cached answer when the same address,
// kind and gesture flag were answered before, otherwise a Yes/No/Cancel prompt whose Yes or
// No is remembered for the life of the object. Qt-free; window thread only.
#pragma once

#include <compare>
#include <cstdint>
#include <map>

#include "app/UserPrompts.h"
#include "core/Text.h"

namespace korventa {

// Permission kinds by their stable numbers; anything else is an unknown resource.
enum PermissionKind : std::int32_t {
    kPermissionMicrophone = 1,
    kPermissionCamera = 2,
    kPermissionGeolocation = 3,
    kPermissionNotifications = 4,
    kPermissionGenericSensors = 5,
    kPermissionClipboardRead = 6,
    kPermissionUnknown = 0,
};

struct PermissionKey {
    WString address;
    std::int32_t kind = kPermissionUnknown;
    std::int32_t userGesture = 0;
    auto operator<=>(const PermissionKey&) const = default;
};

enum class PermissionState { Default, Allow, Deny };

class PermissionDecisions {
public:
    [[nodiscard]] static WStringView kindName(std::int32_t kind);
    [[nodiscard]] static WString promptText(const PermissionKey& key);

    // Asks `prompts` only when the key has no stored answer.
    [[nodiscard]] PermissionState decide(const PermissionKey& key, UserPrompts& prompts);

private:
    std::map<PermissionKey, bool> permissionCache_;
};

}  // namespace korventa
