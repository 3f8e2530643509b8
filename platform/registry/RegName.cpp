#include "platform/registry/RegName.h"

#include <algorithm>

namespace korventa::reg {
namespace {

char16_t foldAscii(char16_t unit) {
    return (unit >= u'A' && unit <= u'Z') ? static_cast<char16_t>(unit - u'A' + u'a') : unit;
}

}  // namespace

RegStatus storedName(WStringView name, std::string& out) {
    if (name.find(u'\0') != WStringView::npos)
        return RegStatus::InvalidArgument;
    std::string utf8 = toUtf8(name);
    if (fromUtf8(utf8) != name)
        return RegStatus::InvalidArgument;
    out = std::move(utf8);
    return RegStatus::Ok;
}

bool sameName(WStringView a, WStringView b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char16_t x, char16_t y) { return foldAscii(x) == foldAscii(y); });
}

}  // namespace korventa::reg
