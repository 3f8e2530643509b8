#include "frame/WindowPlacement.h"

#include <charconv>
#include <string>

#include "core/Text.h"
#include "platform/registry/RegistryHive.h"
#include "platform/registry/RegistryKey.h"

namespace korventa {
namespace {

constexpr WStringView kWorkspaceKey = u"Software\\TALVENIR\\KORVENTA\\Workspace";
// Larger sizes than any display has are taken for damage, not for a placement.
constexpr int kLargestCoordinate = 100000;

reg::RegistryHive userHive() {
    return reg::RegistryHive::local(reg::RootKey::CurrentUser);
}

std::optional<int> readNumber(const reg::RegistryKey& key, WStringView name) {
    reg::RegValue value;
    if (key.value(name, value) != reg::RegStatus::Ok)
        return std::nullopt;
    const std::string text = toUtf8(value.text());
    int number = 0;
    const char* end = text.data() + text.size();
    const auto [last, error] = std::from_chars(text.data(), end, number);
    if (error != std::errc() || last != end || text.empty())
        return std::nullopt;
    if (number < -kLargestCoordinate || number > kLargestCoordinate)
        return std::nullopt;
    return number;
}

WString numberText(int number) {
    const long long wide = number;
    const auto magnitude = static_cast<unsigned long long>(wide < 0 ? -wide : wide);
    return (wide < 0 ? u"-" : u"") + decimalText(magnitude);
}

}  // namespace

std::optional<WindowPlacement> WindowPlacement::load() {
    reg::RegistryKey key;
    if (reg::RegistryKey::open(userHive(), kWorkspaceKey, reg::KeyAccess::Read, key) !=
        reg::RegStatus::Ok) {
        return std::nullopt;
    }
    const auto left = readNumber(key, u"WindowLeft");
    const auto top = readNumber(key, u"WindowTop");
    const auto width = readNumber(key, u"WindowWidth");
    const auto height = readNumber(key, u"WindowHeight");
    if (!left || !top || !width || !height || *width <= 0 || *height <= 0)
        return std::nullopt;
    reg::RegValue maximized;
    const bool isMaximized = key.value(u"WindowMaximized", maximized) == reg::RegStatus::Ok &&
                             isTrueText(maximized.text());
    return WindowPlacement{*left, *top, *width, *height, isMaximized};
}

reg::RegStatus WindowPlacement::save() const {
    reg::RegistryKey key;
    if (const auto status = reg::RegistryKey::create(userHive(), kWorkspaceKey, key);
        status != reg::RegStatus::Ok) {
        return status;
    }
    const std::pair<WStringView, WString> values[] = {
        {u"WindowLeft", numberText(left)},         {u"WindowTop", numberText(top)},
        {u"WindowWidth", numberText(width)},       {u"WindowHeight", numberText(height)},
        {u"WindowMaximized", boolText(maximized)},
    };
    reg::RegStatus result = reg::RegStatus::Ok;
    for (const auto& [name, text] : values) {
        const auto status = key.setString(name, text);
        if (result == reg::RegStatus::Ok)
            result = status;
    }
    const auto closed = key.close();
    return result == reg::RegStatus::Ok ? closed : result;
}

}  // namespace korventa
