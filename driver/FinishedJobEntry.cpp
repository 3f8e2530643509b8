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

reg::RegStatus readFinishedJob(WStringView jobKeyName, SettingsMap& values) {
    return ReadKeyValues(finishedEntryPath(jobKeyName), values,
                         reg::RegistryHive::local(reg::RootKey::CurrentUser));
}

FinishedJobState pollFinishedJob(WStringView jobKeyName,
                                 const std::function<bool()>& postProcessing,
                                 SettingsMap& values, reg::RegStatus& status) {
    const bool running = postProcessing();
    status = readFinishedJob(jobKeyName, values);
    const bool recorded = status == reg::RegStatus::Ok && !values[u"Result"].empty();
    if (recorded) return FinishedJobState::Recorded;
    if (running) return FinishedJobState::Pending;
    if (status == reg::RegStatus::NotFound &&
        reg::RegistryHive::local(reg::RootKey::CurrentUser).isDamaged()) {
        status = reg::RegStatus::BadHive;
    }
    if (status == reg::RegStatus::Ok || status == reg::RegStatus::NotFound)
        return FinishedJobState::Missing;
    return FinishedJobState::Unreadable;
}

}  // namespace korventa
