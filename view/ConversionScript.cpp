#include "view/ConversionScript.h"

#include "pagescripts/PageScripts.h"

namespace korventa {
namespace {

// Between backticks: a backslash, a backtick or "${" would otherwise be read as script, and
// a carriage return would reach the page as a line feed.
std::string templateLiteralText(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\\' || c == '`' || (c == '$' && i + 1 < text.size() && text[i + 1] == '{')) {
            escaped += '\\';
            escaped += c;
        } else if (c == '\r') {
            escaped += "\\r";
        } else {
            escaped += c;
        }
    }
    return escaped;
}

// Between single quotes: a backslash or a quote would end or bend the string, a line break
// would end the script.
std::string quotedText(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        if (c == '\\' || c == '\'') {
            escaped += '\\';
            escaped += c;
        } else if (c == '\n') {
            escaped += "\\n";
        } else if (c == '\r') {
            escaped += "\\r";
        } else {
            escaped += c;
        }
    }
    return escaped;
}

const char* jsBool(bool on) { return on ? "true" : "false"; }

// Two of the separators are ", " and two a bare ","; pages have seen this line as it is.
std::string callLine(const ConversionFlags& flags, WStringView cmdClass) {
    std::string line = "gkvt_zugFun.renderInAppMode(zugstr_jsonIni, zugstr_xmlTemp, ";
    line += jsBool(flags.htmlAsTemplate);
    line += ", ";
    line += jsBool(flags.generateFacturXml);
    line += ", ";
    line += jsBool(flags.showJson);
    line += ",";
    line += jsBool(flags.detectCommands);
    line += ",";
    line += jsBool(flags.hideCommands);
    line += ", '";
    line += quotedText(toUtf8(cmdClass));
    line += "');\n";
    return line;
}

// A page that defined zugstr_xmlTemp itself keeps its own zugstr_jsonIni; the template is
// replaced by every request.
std::string templateGlobals(const std::string& literal, std::string_view firstRunExtra) {
    std::string text = "if (typeof zugstr_xmlTemp === 'undefined') {\n";
    text += "var zugstr_xmlTemp = `" + literal + "`;\n";
    text += firstRunExtra;
    text += "} else {\n";
    text += "zugstr_xmlTemp = `" + literal + "`;\n";
    text += "}\n";
    return text;
}

}  // namespace

std::string assembleConversionScript(std::string_view handlebarsSource, WStringView xmlTemplate,
                                     const ConversionFlags& flags, WStringView cmdClass,
                                     bool scriptsInjected) {
    const std::string literal = templateLiteralText(toUtf8(xmlTemplate));
    if (scriptsInjected) return templateGlobals(literal, "") + callLine(flags, cmdClass);

    const std::string initialData =
        "var zugstr_jsonIni = `\n" + templateLiteralText(sampleInvoiceJson()) + "`; \n";
    std::string script(handlebarsSource);
    script += '\n';
    script += commandDetectionScript();
    script += '\n';
    script += templateGlobals(literal, initialData);
    script += templateRenderingScript();
    script += '\n';
    script += callLine(flags, cmdClass);
    return script;
}

}  // namespace korventa
