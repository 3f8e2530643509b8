// A create command that needs the page's scripts: reads the page's XML template, assembles
// the conversion script, takes the view's printing slot, sets the view's request state and
// runs the script in the page. Keeps the Handlebars source once it was read from the script
// package. Borrows the view; window thread.
#pragma once

#include <string>

#include "core/Text.h"
#include "frame/FrameView.h"

namespace korventa {

// The request's switches, as the create command passes them.
struct ConversionOptions {
    bool email = false;
    bool htmlAsTemplate = false;
    bool zugferd = false;
    bool showJson = true;
    bool detectCommands = false;
    bool hideCommands = false;
};

// Sets what a request with these switches passes on to its print (the page's XML and
// commands excepted).
void applyConversionOptions(RequestState& state, const WString& printerName,
                            const ConversionOptions& options);

class ConversionRequest {
public:
    explicit ConversionRequest(FrameView& view) : view_(view) {}

    // Does nothing when the printing slot stays held for its 100 ms wait.
    void RequestConversion(const WString& printerName, const ConversionOptions& options,
                           const WString& cmdClass);

private:
    [[nodiscard]] const std::string& handlebarsSource();

    FrameView& view_;
    std::string handlebarsSource_;
};

}  // namespace korventa
