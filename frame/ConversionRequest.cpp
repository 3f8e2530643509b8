#include "frame/ConversionRequest.h"

#include "appmode/ScriptPackage.h"
#include "appmode/TextFile.h"
#include "view/ConversionScript.h"
#include "view/TemplatePath.h"

namespace korventa {
namespace {

constexpr int kInvoiceIntentMode = 11;

}  // namespace

// A missing package reads as a single line feed and is kept; only an empty read is retried.
const std::string& ConversionRequest::handlebarsSource() {
    if (handlebarsSource_.empty())
        handlebarsSource_ = ReadScriptPackageEntry("handlebars.min.js");
    return handlebarsSource_;
}

void ConversionRequest::RequestConversion(const WString& printerName,
                                          const ConversionOptions& options,
                                          const WString& cmdClass) {
    if (view_.isBusy())
        return;
    RequestState& state = view_.requestState();
    const WString xmlTemplate = options.zugferd
                                    ? ReadTextFile(templatePathFor(state.currentAddress), u"UTF-8")
                                    : WString();
    const bool shortForm = state.scriptsInjected != 0;
    const ConversionFlags flags{options.htmlAsTemplate, options.zugferd, options.showJson,
                                options.detectCommands, options.hideCommands};
    const std::string script = assembleConversionScript(
        shortForm ? std::string_view() : std::string_view(handlebarsSource()), xmlTemplate, flags,
        cmdClass, shortForm);
    if (!view_.takePrintingSlot())
        return;
    applyConversionOptions(state, printerName, options);
    view_.RunConversionScript(fromUtf8(script));
}

void applyConversionOptions(RequestState& state, const WString& printerName,
                            const ConversionOptions& options) {
    state.printerName = printerName;
    state.facturXml.clear();
    state.emailEnable = options.email ? 1 : 0;
    state.zugferdRequest = options.zugferd ? 1 : 0;
    state.intentModeSet = options.zugferd ? 1 : 0;
    state.intentMode = options.zugferd ? kInvoiceIntentMode : 0;
}

}  // namespace korventa
