// What the frame's commands ask of the browser view: its request state, starting the
// browser, opening the current address, printing the page as it is and running a
// conversion script in it. The main window forwards to its CEdgeView; tests
// record the calls. Window thread only.
#pragma once

#include "core/Text.h"
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
    // Takes the printing slot with its short wait; false when it stays held.
    [[nodiscard]] virtual bool takePrintingSlot() = 0;
    // A request waits for its page or a print is under way: both read the request state
    // when their job is written, so no other create may change it meanwhile.
    [[nodiscard]] virtual bool isBusy() const = 0;
    // Runs the script in the displayed page; the page answers with its result message.
    virtual void RunConversionScript(const WString& script) = 0;
};

}  // namespace korventa
