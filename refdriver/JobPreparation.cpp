#include "refdriver/JobPreparation.h"

#include <cstddef>

#include "core/Text.h"
#include "driver/DriverNames.h"
#include "driver/FinishedJobEntry.h"
#include "driver/InstanceOwners.h"
#include "driver/KeyValues.h"
#include "platform/registry/RegValue.h"
#include "platform/registry/RegistryHive.h"
#include "platform/registry/RegistryKey.h"
#include "platform/registry/RegistryTransaction.h"
#include "refdriver/JobFolder.h"

namespace korventa::refdriver {
namespace {

using reg::RegStatus;

bool isUsablePrinter(VeltPrinterHandle printer) {
    return printer != nullptr && printer->size >= sizeof(VeltPrinter) &&
           printer->version >= VELT_PRINTER_VERSION_1 && printer->printerName != nullptr;
}

// The program reads the folder back as UTF-16: a path that does not survive the round trip
// would name some other folder.
bool folderText(const std::string& path, WString& out) {
    out = fromUtf8(path);
    return toUtf8(out) == path;
}

// The owner token the instance holding the prefix's number has now; empty without one.
std::string ownerOfPrefix(const reg::RegistryHive& hive, WStringView jobPrefix) {
    const unsigned number = InstanceOwners::numberOfJobPrefix(jobPrefix);
    return number == 0 ? std::string()
                       : InstanceOwners::liveToken(InstanceOwners::folderFor(hive.path()), number);
}

// A key still owned by the running holder of its instance number belongs to a job in flight.
bool isLiveJobKey(const reg::RegistryHive& hive, const WString& keyPath,
                  const std::string& liveOwner) {
    if (liveOwner.empty()) return false;
    reg::RegistryKey key;
    reg::RegValue owner;
    return reg::RegistryKey::open(hive, keyPath, reg::KeyAccess::Read, key) == RegStatus::Ok &&
           key.value(JobOwnerValue, owner) == RegStatus::Ok && toUtf8(owner.text()) == liveOwner;
}

// A job key name comes back once another run of the program reaches the same instance and
// counter: the record of that earlier job goes with the new key, so a caller waiting for this
// job never reads the earlier one's result.
RegStatus writeJobKey(const reg::RegistryHive& hive, const WString& jobKeyName,
                      const SettingsMap& values) {
    const WString keyPath = driverKeyPath(jobKeyName);
    reg::RegistryTransaction transaction;
    if (const auto status = reg::RegistryTransaction::begin(hive, transaction);
        status != RegStatus::Ok) {
        return status;
    }
    if (const auto status = transaction.deleteKeyIfPresent(keyPath); status != RegStatus::Ok) {
        return status;
    }
    if (const auto status = transaction.deleteKeyIfPresent(finishedEntryPath(jobKeyName));
        status != RegStatus::Ok) {
        return status;
    }
    if (const auto status = transaction.createKey(keyPath); status != RegStatus::Ok) {
        return status;
    }
    for (const auto& [name, text] : values) {
        const auto status =
            transaction.setValue(keyPath, name, reg::REG_SZ, reg::RegValue::stringData(text));
        if (status != RegStatus::Ok) return status;
    }
    return transaction.commit();
}

}  // namespace

std::int32_t prepareJob(VeltPrinterHandle printer, const char16_t* jobPrefix,
                        const char16_t* documentText, std::uint32_t jobNumber) {
    if (!isUsablePrinter(printer) || jobPrefix == nullptr || jobPrefix[0] == u'\0' ||
        documentText == nullptr) {
        return VELT_E_INVALID_ARGUMENT;
    }
    const WString jobKeyName = WString(jobPrefix) + decimalText(jobNumber);
    if (jobKeyName.size() > MaxJobKeyNameLength) return VELT_E_INVALID_ARGUMENT;

    // Only the number's holder prepares jobs under its prefix, so a key carrying the holder's
    // own token is one of its jobs still in flight: it is never replaced.
    const auto hive = reg::RegistryHive::local(reg::RootKey::CurrentUser);
    const std::string owner = ownerOfPrefix(hive, jobPrefix);
    if (isLiveJobKey(hive, driverKeyPath(jobKeyName), owner)) return VELT_E_JOB_LIVE;

    JobFolder folder;
    WString folderPath;
    if (!folder.create() || !folderText(folder.path(), folderPath)) return VELT_E_FOLDER;

    const SettingsMap values{
        {u"JobTempPath", folderPath},
        {u"JobDocument", documentText},
        {u"JobPrinter", printer->printerName},
        {WString(JobOwnerValue), fromUtf8(owner)},
    };
    if (writeJobKey(hive, jobKeyName, values) != RegStatus::Ok) return VELT_E_REGISTRY;
    folder.keep();
    return VELT_OK;
}

}  // namespace korventa::refdriver
