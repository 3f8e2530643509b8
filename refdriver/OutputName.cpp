#include "refdriver/OutputName.h"

namespace korventa::refdriver {
namespace {

constexpr WStringView kFallbackName = u"document";

bool isControl(char16_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F); }

bool isSeparator(char16_t c) { return c == u'/' || c == u'\\'; }

// Marks, embeddings, overrides and isolates: they make a name read other than it is
// ("Invoice\u202Efdp.exe" shows as "Invoiceexe.pdf"), so they are dropped.
bool isBidiControl(char16_t c) {
    return c == 0x061C || c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E) ||
           (c >= 0x2066 && c <= 0x2069);
}

bool endsWithPdf(WStringView name) {
    constexpr WStringView extension = u".pdf";
    if (name.size() < extension.size()) return false;
    const WStringView tail = name.substr(name.size() - extension.size());
    for (std::size_t i = 0; i < extension.size(); ++i) {
        const char16_t raw = tail[i];
        const auto c = static_cast<char16_t>(raw >= u'A' && raw <= u'Z' ? raw | 0x20 : raw);
        if (c != extension[i]) return false;
    }
    return true;
}

// Leading blanks and dots go together, so " .hidden" cannot become a hidden file either.
WStringView withoutLeadingDots(WStringView name) {
    while (!name.empty() && (name.front() == u'.' || trimBlanks(name.substr(0, 1)).empty())) {
        name.remove_prefix(1);
    }
    return name;
}

// Never cuts inside a UTF-8 sequence, so the name stays valid UTF-8.
std::string cutToBytes(std::string name, std::size_t limit) {
    if (name.size() <= limit) return name;
    std::size_t end = limit;
    while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80) --end;
    name.resize(end);
    return name;
}

}  // namespace

bool isPlainFileName(WStringView name) {
    const WStringView trimmed = trimBlanks(name);
    if (trimmed.empty() || trimmed.front() == u'.') return false;
    for (const char16_t c : name) {
        if (isControl(c) || isSeparator(c)) return false;
    }
    return true;
}

std::string safeBaseName(WStringView title) {
    WString name(title);
    std::erase_if(name, isBidiControl);
    for (char16_t& c : name) {
        if (isControl(c) || isSeparator(c)) c = u'_';
    }
    WStringView base = withoutLeadingDots(trimBlanks(name));
    if (endsWithPdf(base)) base = trimBlanks(base.substr(0, base.size() - 4));
    std::string cut = cutToBytes(toUtf8(base.empty() ? kFallbackName : base), MaxBaseNameBytes);
    while (!cut.empty() && (cut.back() == ' ' || cut.back() == '.')) cut.pop_back();
    return cut.empty() ? toUtf8(kFallbackName) : cut;
}

std::string outputBaseName(WStringView wantedName, WStringView title, std::string& refused) {
    refused.clear();
    if (!trimBlanks(wantedName).empty()) {
        if (isPlainFileName(wantedName)) return safeBaseName(wantedName);
        refused = toUtf8(wantedName);
    }
    return safeBaseName(title);
}

}  // namespace korventa::refdriver
