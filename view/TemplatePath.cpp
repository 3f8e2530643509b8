#include "view/TemplatePath.h"

namespace korventa {

PathParts SplitPath(WStringView address) {
    const auto separator = address.find_last_of(u"\\/:");
    if (separator == WStringView::npos) return {WString(), WString(address)};
    return {WString(address.substr(0, separator + 1)), WString(address.substr(separator + 1))};
}

WString templatePathFor(WStringView address) {
    const PathParts parts = SplitPath(address);
    const WStringView fileName = parts.fileName;
    const WStringView baseName = fileName.substr(0, fileName.find_last_of(u'.'));
    return parts.folder + WString(baseName) + u".xml";
}

}  // namespace korventa
