// The converter's seven values kept between runs: read once in layers (defaults, machine,
// remote, user, mandatory) while the main frame is created, written once to the user's key
// when it closes. A plain value; loading and saving open their own keys. Window thread.
#pragma once

#include "core/SettingsMap.h"
#include "core/Text.h"
#include "driver/LayeredSettings.h"
#include "platform/registry/RegStatus.h"

namespace korventa {

struct ConverterSettings {
    WString printerName;
    WString url;
    WString recentText;  // the recent addresses in the parenthesised list format
    bool detectCommands = true;
    bool hideCommands = true;
    WString commandClass;
    bool htmlAsTemplate = false;

    // `defaultUrl` stands where no layer holds an address. A switch is on only for "True" or
    // "true".
    [[nodiscard]] static ConverterSettings load(LayeredSettings& layers, WStringView defaultUrl);
    // The seven values by name; iterating gives the order they are written in.
    [[nodiscard]] SettingsMap toMap() const;
    // One write batch into the user's key, created when missing. A value that fails does not
    // stop the others; the result is the first failure, or Ok.
    [[nodiscard]] reg::RegStatus save() const;
};

}  // namespace korventa
