// What the frame's commands ask of the browser view: its request state, starting the
// browser, opening the current address and printing the page as it is. The main window forwards to its CEdgeView; tests
// record the calls. Window thread only.
#pragma once

#include "view/RequestState.h"

namespace korventa {

class FrameView {
public:
    virtual ~FrameView() = default;
    [[nodiscard]] virtual RequestState& requestState() = 0;
    // Returns at once; the browser becomes ready later and then opens currentAddress.
    virtual void InitializeWebView() = 0;
    // Opens requestState().currentAddress; nothing while the browser does not exist yet.
    virtual void NavigateCurrent() = 0;
    // Prints the displayed page into a job with the request state as it stands; false when
    // the print could not be started.
    virtual bool StartPdfPrint() = 0;
};

}  // namespace korventa
