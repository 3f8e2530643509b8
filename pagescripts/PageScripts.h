// The texts the program sends into pages, compiled in from the files beside this header
// (CommandDetection.js, TemplateRendering.js, SampleInvoice.json) byte for byte. Static,
// immutable data; any thread.
#pragma once

#include <string_view>

namespace korventa {

// Defines gkvt_veltCmds in the page, unless the page has one.
[[nodiscard]] std::string_view commandDetectionScript();
// Defines gkvt_zugFun in the page, unless the page has one.
[[nodiscard]] std::string_view templateRenderingScript();
// The initial invoice data: UTF-8 JSON, two-space indentation, ending in a line feed.
[[nodiscard]] std::string_view sampleInvoiceJson();

}  // namespace korventa
