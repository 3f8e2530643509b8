#include "driver/FinishedJobEntry.h"

#include <algorithm>

#include "driver/KeyValues.h"

namespace korventa {

WString finishedEntryName(WStringView jobKeyName) {
    while (!jobKeyName.empty() && jobKeyName.back() == u'\\')
        jobKeyName.remove_suffix(1);
    WString name(jobKeyName);
    std::replace(name.begin(), name.end(), u'\\', u'_');
    return name;
}

WString finishedEntryPath(WStringView jobKeyName) {
    return driverKeyPath(WString(FinishedListName) + u"\\" + finishedEntryName(jobKeyName));
}

SettingsMap readFinishedJob(WStringView jobKeyName) {
    SettingsMap values;
    (void)ReadKeyValues(finishedEntryPath(jobKeyName), values,
                        reg::RegistryHive::local(reg::RootKey::CurrentUser));
    return values;
}

}  // namespace korventa
