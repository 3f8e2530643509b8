#include "view/DataFolder.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include <unistd.h>

namespace korventa {
namespace {

WString joinOnce(const WString& folder, WStringView name) {
    if (!folder.empty() && folder.back() == u'/')
        return folder + WString(name);
    return folder + u'/' + WString(name);
}

std::optional<std::string> absoluteEnv(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || value[0] != '/')
        return std::nullopt;
    return std::string(value);
}

bool isFolder(const std::string& path) {
    std::error_code ignored;
    return std::filesystem::is_directory(path, ignored);
}

// Browser data that went to the home folder while ~/.local/share was missing stays in use
// once another program creates that folder; switching would leave cookies and storage behind.
bool keptInHomeFolder(const std::string& home) {
    return isFolder(home + "/.talvenir") && !isFolder(home + "/.local/share/TALVENIR");
}

}  // namespace

WString chooseDataFolder(const FolderSources& sources) {
    if (sources.localData)
        return joinOnce(*sources.localData, u"TALVENIR");
    if (sources.home)
        return joinOnce(*sources.home, u".talvenir");
    if (sources.temporary)
        return joinOnce(*sources.temporary, u"talvenri-" + fromUtf8(std::to_string(sources.userId)));
    return {};
}

FolderSources currentFolderSources() {
    FolderSources sources;
    const std::optional<std::string> home = absoluteEnv("HOME");
    if (home && isFolder(*home))
        sources.home = fromUtf8(*home);
    // The base directory rules ignore a relative XDG_DATA_HOME.
    if (const std::optional<std::string> xdg = absoluteEnv("XDG_DATA_HOME")) {
        sources.localData = fromUtf8(*xdg);
    } else if (home && isFolder(*home + "/.local/share") && !keptInHomeFolder(*home)) {
        sources.localData = fromUtf8(*home + "/.local/share");
    }
    sources.temporary = fromUtf8(absoluteEnv("TMPDIR").value_or("/tmp"));
    sources.userId = ::geteuid();
    return sources;
}

}  // namespace korventa
