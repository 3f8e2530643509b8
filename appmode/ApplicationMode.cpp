#include "appmode/ApplicationMode.h"

namespace korventa {
namespace {

bool isSeparator(char16_t c) {
    return c == u'\\' || c == u'/';
}

}  // namespace

WString ParentFolder(WStringView folder) {
    std::size_t end = folder.size();
    while (end > 0 && isSeparator(folder[end - 1])) --end;
    // The first character is never taken as the cut, so a lone root has no parent.
    for (std::size_t i = end; i > 1; --i) {
        if (isSeparator(folder[i - 1]))
            return WString(folder.substr(0, i - 1));
    }
    return {};
}

WString applicationPagePath(WStringView base, WStringView name) {
    WString path(base);
    path += u"/ZUGFeRD/";
    path += name;
    if (!name.ends_with(u".html"))
        path += u"/index.html";
    return path;
}

}  // namespace korventa
