#include "refdriver/ResourceTexts.h"

#include <array>

#include "driver/DriverAbi.h"

namespace korventa::refdriver {
namespace {

struct NumberedText {
    std::uint32_t id;
    const char16_t* english;
    const char16_t* german;
};

constexpr std::array kTexts{
    NumberedText{VELT_TEXT_PRINTER_BOX, u"Printer: ", u"Drucker: "},
    NumberedText{VELT_TEXT_CREATE_PDF, u"Create PDF", u"PDF erstellen"},
    NumberedText{VELT_TEXT_SETTINGS, u"Printer Settings", u"Druckereinstellungen"},
    NumberedText{VELT_TEXT_CREATE_PDF_EMAIL, u"PDF and E-mail", u"PDF und E-Mail"},
    NumberedText{VELT_TEXT_INVOICE_PDF, u"Invoice PDF", u"Rechnungs-PDF"},
    NumberedText{VELT_TEXT_INVOICE_PDF_EMAIL, u"Invoice PDF and E-mail",
                 u"Rechnungs-PDF und E-Mail"},
    NumberedText{VELT_TEXT_CATEGORY, u"PDF Printer", u"PDF-Drucker"},
    NumberedText{VELT_TEXT_DETECT_COMMANDS, u"Detect commands in CSS class",
                 u"Befehle in CSS-Klasse erkennen"},
    NumberedText{VELT_TEXT_HTML_AS_TEMPLATE, u"HTML as a template", u"HTML als Vorlage"},
};

}  // namespace

TextLanguage languageFor(WStringView setting) {
    return setting.starts_with(u"de") ? TextLanguage::German : TextLanguage::English;
}

const char16_t* findText(std::uint32_t id, TextLanguage language) {
    for (const auto& text : kTexts) {
        if (text.id != id) continue;
        return language == TextLanguage::German ? text.german : text.english;
    }
    return nullptr;
}

}  // namespace korventa::refdriver
