#include "core/PdfStrings.h"

namespace korventa {
namespace {

bool isEscapable(char16_t c) { return c == u'\\' || c == u'(' || c == u')'; }

// Reads one item starting after its "(" at `pos`; leaves `pos` after the closing ")" or at
// the end of the text.
WString readItem(WStringView text, std::size_t& pos) {
    WString item;
    int depth = 1;
    while (pos < text.size()) {
        const char16_t c = text[pos++];
        if (c == u'\\') {
            if (pos == text.size()) break;
            if (isEscapable(text[pos])) {
                item.push_back(text[pos++]);
            } else {
                item.push_back(c);
            }
        } else if (c == u'(') {
            ++depth;
            item.push_back(c);
        } else if (c == u')') {
            if (--depth == 0) break;
            item.push_back(c);
        } else {
            item.push_back(c);
        }
    }
    return item;
}

}  // namespace

WString EscapePdfString(WStringView text) {
    WString out;
    out.reserve(text.size());
    for (const char16_t c : text) {
        if (c == u'\r') continue;
        if (isEscapable(c)) out.push_back(u'\\');
        out.push_back(c);
    }
    return out;
}

WString JoinAsPdfStrings(const std::vector<WString>& items) {
    WString out;
    for (const WString& item : items) {
        out += u'(';
        out += EscapePdfString(item);
        out += u')';
    }
    return out;
}

std::vector<WString> SplitPdfStrings(WStringView text) {
    std::vector<WString> items;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t open = text.find(u'(', pos);
        if (open == WStringView::npos) break;
        pos = open + 1;
        items.push_back(readItem(text, pos));
    }
    return items;
}

}  // namespace korventa
