#include "appmode/ModuleFolder.h"

#include <unistd.h>

#include <array>
#include <cstddef>
#include <string_view>

namespace korventa {
namespace {

constexpr std::size_t kModulePathRoom = 2048;
// A UTF-16 unit takes at most 3 bytes of UTF-8 (a surrogate pair takes 4 for 2 units).
constexpr std::size_t kModulePathBytes = kModulePathRoom * 3;

}  // namespace

WString folderOfPath(WStringView path) {
    const std::size_t cut = path.find_last_of(u"\\/:");
    if (cut == WStringView::npos) return {};
    return WString(path.substr(0, cut + 1));
}

WString ModuleFolder() {
    std::array<char, kModulePathBytes> buffer{};
    const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= buffer.size()) return {};
    const WString path = fromUtf8(std::string_view(buffer.data(), static_cast<std::size_t>(length)));
    // The room includes the terminator, as the platform's module path call counts it.
    if (path.size() >= kModulePathRoom) return {};
    return folderOfPath(path);
}

}  // namespace korventa
