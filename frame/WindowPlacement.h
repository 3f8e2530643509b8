// The main window's size and position between runs, kept as the framework keeps its own
// workspace: text values in the user's key "Software\TALVENIR\KORVENTA\Workspace". Read at
// start, written at close; a plain value, each call opens its own key. Window thread.
#pragma once

#include <optional>

#include "platform/registry/RegStatus.h"

namespace korventa {

struct WindowPlacement {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool maximized = false;

    // Nothing when a value is missing or not a plain decimal number, or when the size is not
    // positive: the window then keeps the platform's default placement.
    [[nodiscard]] static std::optional<WindowPlacement> load();
    // One write batch.
    [[nodiscard]] reg::RegStatus save() const;

    bool operator==(const WindowPlacement&) const = default;
};

}  // namespace korventa
