#include "platform/registry/RegistryHive.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <vector>

#include "platform/registry/HiveConnection.h"
#include "platform/registry/RegName.h"
#include "platform/registry/RegistryTransaction.h"

namespace korventa::reg {
namespace {

constexpr const char* kRemoteTemplate = "/net/%s/etc/talvenir/registry.db";

// An unset or empty variable both mean "not configured".
std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

std::string homeFolder() {
    std::string home = environment("HOME");
    if (!home.empty())
        return home;
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr && found->pw_dir != nullptr) {
        return found->pw_dir;
    }
    return "/";
}

std::string configFolder() {
    // Relative values are ignored, as the base-directory convention asks.
    const std::string xdg = environment("XDG_CONFIG_HOME");
    if (!xdg.empty() && xdg.front() == '/')
        return xdg;
    return homeFolder() + "/.config";
}

std::string replaceAll(std::string text, const std::string& pattern, const std::string& with) {
    for (std::size_t at = text.find(pattern); at != std::string::npos;
         at = text.find(pattern, at + with.size())) {
        text.replace(at, pattern.size(), with);
    }
    return text;
}

// The platform accepts "\\server" as well as "server".
WStringView withoutUncPrefix(WStringView server) {
    if (server.substr(0, 2) == u"\\\\")
        server.remove_prefix(2);
    return server;
}

// The name becomes one path element of the template: nothing that could leave its folder.
bool isSafeServerName(WStringView server) {
    return !server.empty() && server.front() != u'.' && server.find(u'/') == WStringView::npos &&
           server.find(u"..") == WStringView::npos;
}

}  // namespace

RegistryHive RegistryHive::local(RootKey root) {
    switch (root) {
        case RootKey::LocalMachine: {
            const std::string path = environment("TALVENIR_MACHINE_HIVE");
            return RegistryHive(path.empty() ? "/etc/talvenir/registry.db" : path);
        }
        case RootKey::CurrentUser: {
            const std::string path = environment("TALVENIR_USER_HIVE");
            return RegistryHive(path.empty() ? configFolder() + "/talvenir/registry.db" : path);
        }
    }
    return RegistryHive(std::string());
}

RegStatus RegistryHive::connectRemote(WStringView server, RegistryHive& out) {
    server = withoutUncPrefix(server);
    std::string name;
    if (!isSafeServerName(server) || storedName(server, name) != RegStatus::Ok) {
        return RegStatus::InvalidArgument;
    }
    std::string pattern = environment("TALVENIR_REMOTE_HIVE");
    if (pattern.empty())
        pattern = kRemoteTemplate;
    std::string path = replaceAll(std::move(pattern), "%s", name);
    HiveConnection probe;
    if (RegStatus status = HiveConnection::open(path, HiveConnection::Mode::Probe, probe);
        status != RegStatus::Ok) {
        return status;
    }
    out = RegistryHive(std::move(path));
    return RegStatus::Ok;
}

RegistryHive RegistryHive::atPath(std::string path) {
    return RegistryHive(std::move(path));
}

// A write transaction tells a damaged hive from a missing key without changing anything:
// it is dropped unused.
bool RegistryHive::isDamaged() const {
    std::error_code ignored;
    if (!std::filesystem::exists(path_, ignored)) return false;
    RegistryTransaction probe;
    return RegistryTransaction::begin(*this, probe) == RegStatus::BadHive;
}

}  // namespace korventa::reg
