// The recent-address list: most recent first, unbounded in memory; the box shows the first 32
// and the settings keep the first 16. Owned by the main frame; window thread only.
#pragma once

#include <vector>

#include "core/Text.h"
#include "frame/AddressBox.h"

namespace korventa {

class RecentAddresses {
public:
    static constexpr std::size_t kShown = 32;
    static constexpr std::size_t kSaved = 16;

    // Replaces the list with the entries of a saved recent text, in text order.
    void load(WStringView recentText);
    // Moves `address` to the front (one copy), then refills the box, except when it already was
    // first and `refill` is false. `box` may be null.
    void AddRecentAddress(WStringView address, bool refill, AddressBox* box);

    [[nodiscard]] const std::vector<WString>& entries() const { return entries_; }

    // The recent text to save: the box's first 16 items, empty without a box.
    [[nodiscard]] static WString savedText(const AddressBox* box);

private:
    void refillBox(AddressBox* box) const;

    std::vector<WString> entries_;
};

}  // namespace korventa
