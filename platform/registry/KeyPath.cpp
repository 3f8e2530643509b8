#include "platform/registry/KeyPath.h"

#include "platform/registry/RegName.h"

namespace korventa::reg {

RegStatus KeyPath::parse(WStringView text, KeyPath& out) {
    if (!text.empty() && text.front() == u'\\')
        return RegStatus::InvalidArgument;
    if (!text.empty() && text.back() == u'\\')
        text.remove_suffix(1);
    std::vector<std::string> names;
    while (!text.empty()) {
        const std::size_t separator = text.find(u'\\');
        const WStringView part = text.substr(0, separator);
        std::string name;
        if (part.empty() || storedName(part, name) != RegStatus::Ok) {
            return RegStatus::InvalidArgument;
        }
        names.push_back(std::move(name));
        if (separator == WStringView::npos)
            break;
        text.remove_prefix(separator + 1);
        // "a\\" has lost one backslash already: what is left after this one is an empty name.
        if (text.empty())
            return RegStatus::InvalidArgument;
    }
    out.names_ = std::move(names);
    return RegStatus::Ok;
}

}  // namespace korventa::reg
