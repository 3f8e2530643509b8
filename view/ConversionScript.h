// Assembles the one UTF-8 script that a conversion request runs in the page: the script
// library (Handlebars and the two page scripts) with the first request of a document, the
// template and the initial data as page globals, and the call of gkvt_zugFun.renderInAppMode.
// Pure function; any thread. The texts reach the page exactly: they are escaped for the
// literal they stand in, nothing else about the script's form changes.
#pragma once

#include <string>
#include <string_view>

#include "core/Text.h"

namespace korventa {

// The switches of one request, in the order renderInAppMode takes them.
struct ConversionFlags {
    bool htmlAsTemplate = false;
    bool generateFacturXml = false;  // the ZUGFeRD commands
    bool showJson = true;
    bool detectCommands = false;
    bool hideCommands = false;
};

// scriptsInjected chooses the short form (the library is already in the document) over the
// full one; handlebarsSource is used only by the full form.
[[nodiscard]] std::string assembleConversionScript(std::string_view handlebarsSource,
                                                   WStringView xmlTemplate,
                                                   const ConversionFlags& flags,
                                                   WStringView cmdClass, bool scriptsInjected);

}  // namespace korventa
