#include "frame/RecentAddresses.h"

#include <algorithm>

#include "core/PdfStrings.h"

namespace korventa {

void RecentAddresses::load(WStringView recentText) { entries_ = SplitPdfStrings(recentText); }

void RecentAddresses::AddRecentAddress(WStringView address, bool refill, AddressBox* box) {
    const bool found = std::find(entries_.begin(), entries_.end(), address) != entries_.end();
    if (found && entries_.front() == address) {
        if (refill) refillBox(box);
        return;
    }
    std::erase(entries_, address);
    entries_.insert(entries_.begin(), WString(address));
    refillBox(box);
}

WString RecentAddresses::savedText(const AddressBox* box) {
    if (box == nullptr) return {};
    std::vector<WString> items;
    const std::size_t count = std::min(box->itemCount(), kSaved);
    for (std::size_t i = 0; i < count; ++i) items.push_back(box->itemText(i));
    return JoinAsPdfStrings(items);
}

void RecentAddresses::refillBox(AddressBox* box) const {
    if (box == nullptr) return;
    box->clearItems();
    const std::size_t count = std::min(entries_.size(), kShown);
    for (std::size_t i = 0; i < count; ++i) box->addItem(entries_[i]);
}

}  // namespace korventa
