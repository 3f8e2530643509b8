#include "platform/regtool/KeyName.h"

#include "platform/regtool/AsciiText.h"

namespace korventa::regtool {
namespace {

bool parseRoot(WStringView word, reg::RootKey& root) {
    if (equalsIgnoringCase(word, "HKLM") || equalsIgnoringCase(word, "HKEY_LOCAL_MACHINE")) {
        root = reg::RootKey::LocalMachine;
        return true;
    }
    if (equalsIgnoringCase(word, "HKCU") || equalsIgnoringCase(word, "HKEY_CURRENT_USER")) {
        root = reg::RootKey::CurrentUser;
        return true;
    }
    return false;
}

// Every element between backslashes must be non-empty; one trailing backslash is allowed.
bool pathIsWellFormed(WStringView path) {
    if (!path.empty() && path.back() == u'\\') path.remove_suffix(1);
    if (path.empty()) return true;
    if (path.front() == u'\\') return false;
    return path.find(u"\\\\") == WStringView::npos && path.back() != u'\\';
}

}  // namespace

bool KeyName::parse(WStringView text, KeyName& out) {
    KeyName name;
    if (text.substr(0, 2) == u"\\\\") {
        text.remove_prefix(2);
        const auto end = text.find(u'\\');
        if (end == 0 || end == WStringView::npos) return false;
        name.server_ = WString(text.substr(0, end));
        text.remove_prefix(end + 1);
    }
    const auto rootEnd = text.find(u'\\');
    if (!parseRoot(text.substr(0, rootEnd), name.root_)) return false;
    if (name.isRemote() && name.root_ != reg::RootKey::LocalMachine) return false;
    WStringView path = rootEnd == WStringView::npos ? WStringView() : text.substr(rootEnd + 1);
    if (!pathIsWellFormed(path)) return false;
    if (!path.empty() && path.back() == u'\\') path.remove_suffix(1);
    name.path_ = WString(path);
    out = std::move(name);
    return true;
}

WString KeyName::fullName(WStringView storedPath) const {
    WString name;
    if (isRemote()) name = u"\\\\" + server_ + u"\\";
    name += root_ == reg::RootKey::LocalMachine ? u"HKEY_LOCAL_MACHINE" : u"HKEY_CURRENT_USER";
    if (!storedPath.empty()) name.append(u"\\").append(storedPath);
    return name;
}

reg::RegStatus KeyName::openHive(reg::RegistryHive& out) const {
    if (isRemote()) return reg::RegistryHive::connectRemote(server_, out);
    out = localHive();
    return reg::RegStatus::Ok;
}

}  // namespace korventa::regtool
