// Opens typed text through the browser seam with the two repairs: "https://" for host-like
// text, otherwise a web search for the text. Qt-free; holds only a reference to the seam,
// which must outlive it. Window thread only.
#pragma once

#include "core/Status.h"
#include "core/Text.h"
#include "view/BrowserSeam.h"

namespace korventa {

class AddressNavigator {
public:
    static constexpr WStringView kHomePage = u"https://www.bing.com/";
    static constexpr WStringView kSearchPrefix = u"https://www.bing.com/search?q=";

    explicit AddressNavigator(BrowserSeam& browser) : browser_(browser) {}

    // The status of the last attempt: E_INVALIDARG when every form was refused.
    [[nodiscard]] HResult navigate(WStringView text) const;
    // The search address for `text`; an escaped text over the limit gives an empty query.
    [[nodiscard]] static WString searchAddress(WStringView text);

private:
    BrowserSeam& browser_;
};

}  // namespace korventa
