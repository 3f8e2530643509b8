// The one thing address repair needs from the browser: "open this text". The view answers
// with the browser; unit tests record the addresses asked. Window thread only.
#pragma once

#include "core/Status.h"
#include "core/Text.h"

namespace korventa {

class BrowserSeam {
public:
    virtual ~BrowserSeam() = default;
    // S_OK when the browser took the address, E_INVALIDARG when it is no address it opens.
    [[nodiscard]] virtual HResult openInBrowser(const WString& address) = 0;
};

}  // namespace korventa
