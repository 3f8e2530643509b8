// The texts the program sends into pages, compiled in from the files beside this header
// (CommandDetection.js, TemplateRendering.js, CollatedSections.js, SampleInvoice.json,
// WebviewShim.js, MessageBridge.js, BatchData.js) byte for byte. Static, immutable data; any
// thread.
#pragma once

#include <string_view>

namespace korventa {

// Defines gkvt_veltCmds in the page, unless the page has one.
[[nodiscard]] std::string_view commandDetectionScript();
// Defines gkvt_zugFun in the page, unless the page has one.
[[nodiscard]] std::string_view templateRenderingScript();
// Defines gkvt_collate, which renders many invoices into sections of one document.
[[nodiscard]] std::string_view collatedSectionsScript();
// The initial invoice data: UTF-8 JSON, two-space indentation, ending in a line feed.
[[nodiscard]] std::string_view sampleInvoiceJson();
// window.chrome.webview.postMessage for the page's own world, before the page's scripts.
[[nodiscard]] std::string_view webviewShimScript();
// The isolated world's relay of page messages to the program; needs qwebchannel.js first.
[[nodiscard]] std::string_view messageBridgeScript();
// The batch converter's readying of a page for one input: a function expression taking the
// input's data text (or null) and giving '' or the reason the input cannot be converted.
[[nodiscard]] std::string_view batchDataScript();

}  // namespace korventa
