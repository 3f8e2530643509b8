#include "view/AddressNavigator.h"

#include "view/UriEscaping.h"

namespace korventa {
namespace {

bool looksLikeHost(WStringView text) {
    return text.find(u':') == WStringView::npos && text.find(u'.') != WStringView::npos;
}

}  // namespace

HResult AddressNavigator::navigate(WStringView text) const {
    const HResult status = browser_.openInBrowser(WString(text));
    if (status != E_INVALIDARG)
        return status;
    if (looksLikeHost(text))
        return browser_.openInBrowser(u"https://" + WString(text));
    return browser_.openInBrowser(searchAddress(text));
}

WString AddressNavigator::searchAddress(WStringView text) {
    const std::optional<WString> escaped = escapeUriComponent(text);
    return WString(kSearchPrefix) + (escaped ? foldEscapedBlanks(*escaped) : WString());
}

}  // namespace korventa
