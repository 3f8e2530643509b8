#include "frame/ConverterSettings.h"

#include "driver/DriverNames.h"
#include "platform/registry/RegistryHive.h"
#include "platform/registry/RegistryKey.h"

namespace korventa {
namespace {

constexpr WStringView kPrinterName = u"ConvertPrinterName";
constexpr WStringView kUrl = u"ConvertURL";
constexpr WStringView kRecent = u"ConvertRecent";
constexpr WStringView kDetect = u"ConvertCmd";
constexpr WStringView kHide = u"ConvertCmdHide";
constexpr WStringView kClass = u"ConvertCmdCSS";
constexpr WStringView kHtmlAsTemplate = u"ConvertHTMLAsTemp";

const WString& valueOf(const SettingsMap& map, WStringView name) {
    static const WString none;
    const auto found = map.find(WString(name));
    return found == map.end() ? none : found->second;
}

}  // namespace

ConverterSettings ConverterSettings::load(LayeredSettings& layers, WStringView defaultUrl) {
    SettingsMap map{
        {WString(kPrinterName), WString(DriverProductName)},
        {WString(kUrl), WString(defaultUrl)},
        {WString(kDetect), u"True"},
        {WString(kHide), u"True"},
        {WString(kClass), u"veltrix-cmd"},
        {WString(kHtmlAsTemplate), u"False"},
    };
    layers.LoadLayeredSettings(SettingsForm::Converter, map);
    ConverterSettings settings;
    settings.printerName = valueOf(map, kPrinterName);
    settings.url = valueOf(map, kUrl);
    settings.recentText = valueOf(map, kRecent);
    settings.detectCommands = isTrueText(valueOf(map, kDetect));
    settings.hideCommands = isTrueText(valueOf(map, kHide));
    settings.commandClass = valueOf(map, kClass);
    settings.htmlAsTemplate = isTrueText(valueOf(map, kHtmlAsTemplate));
    return settings;
}

SettingsMap ConverterSettings::toMap() const {
    return {
        {WString(kPrinterName), printerName},
        {WString(kUrl), url},
        {WString(kRecent), recentText},
        {WString(kDetect), boolText(detectCommands)},
        {WString(kHide), boolText(hideCommands)},
        {WString(kClass), commandClass},
        {WString(kHtmlAsTemplate), boolText(htmlAsTemplate)},
    };
}

reg::RegStatus ConverterSettings::save() const {
    WString path(ConverterRegistryRoot);
    path += ConverterSettingsName;
    path += u'\\';
    reg::RegistryKey key;
    const auto hive = reg::RegistryHive::local(reg::RootKey::CurrentUser);
    if (const auto status = reg::RegistryKey::create(hive, path, key);
        status != reg::RegStatus::Ok) {
        return status;
    }
    reg::RegStatus result = reg::RegStatus::Ok;
    for (const auto& [name, text] : toMap()) {
        const auto status = key.setString(name, text);
        if (result == reg::RegStatus::Ok)
            result = status;
    }
    const auto closed = key.close();
    return result == reg::RegStatus::Ok ? closed : result;
}

}  // namespace korventa
