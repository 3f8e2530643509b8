#include "refdriver/JobSweep.h"

#include <cstdint>
#include <filesystem>
#include <set>
#include <system_error>
#include <vector>

#include "core/FileBytes.h"
#include "core/Text.h"
#include "driver/DriverNames.h"
#include "driver/InstanceOwners.h"
#include "driver/KeyValues.h"
#include "driver/LayeredSettings.h"
#include "platform/registry/RegistryHive.h"
#include "platform/registry/RegistryKey.h"
#include "refdriver/FilePublisher.h"
#include "refdriver/JobFolder.h"
#include "refdriver/JobPreparation.h"
#include "refdriver/OutputFolders.h"
#include "refdriver/OutputName.h"
#include "refdriver/PdfCheck.h"

namespace korventa::refdriver {
namespace {

namespace fs = std::filesystem;
using reg::RegStatus;

constexpr char kUndelivered[] = "/Undelivered";

std::vector<WString> subKeysOf(const reg::RegistryHive& hive, const WString& path) {
    std::vector<WString> names;
    reg::RegistryKey key;
    if (reg::RegistryKey::open(hive, path, reg::KeyAccess::Read, key) != RegStatus::Ok ||
        key.subKeys(names) != RegStatus::Ok) {
        names.clear();
    }
    return names;
}

class Sweep {
public:
    Sweep() : hive_(reg::RegistryHive::local(reg::RootKey::CurrentUser)) {
        // Without a cache folder there are no job folders to look at: the path stays empty.
        (void)JobFolder::rootPath(jobsRoot_);
    }

    SweepOutcome run() {
        const WString instances = WString(DriverRegistryRoot) + u"KORVENTAJob";
        for (const WString& instance : subKeysOf(hive_, instances))
            sweepInstance(instances + u"\\" + instance, u"KORVENTAJob\\" + instance + u"\\");
        sweepUnnamedFolders();
        return outcome_;
    }

private:
    void sweepInstance(const WString& path, const WString& prefix) {
        const unsigned number = InstanceOwners::numberOfJobPrefix(prefix);
        const std::string live = number == 0 ? std::string()
                                             : InstanceOwners::liveToken(
                                                   InstanceOwners::folderFor(hive_.path()), number);
        for (const WString& job : subKeysOf(hive_, path)) sweepJob(path + u"\\" + job, live);
        if (live.empty() && subKeysOf(hive_, path).empty())
            (void)reg::RegistryKey::deleteTree(hive_, path);
    }

    void sweepJob(const WString& path, const std::string& liveOwner) {
        SettingsMap job;
        if (ReadKeyValues(path, job, hive_) != RegStatus::Ok)
            return;
        const std::string folder = toUtf8(job[u"JobTempPath"]);
        if (!liveOwner.empty() && toUtf8(job[WString(JobOwnerValue)]) == liveOwner) {
            named_.insert(folder);
            return;
        }
        // Only folders the driver made are removed, whatever a damaged record names.
        if (JobFolder::isJobFolder(folder) && !clearFolder(folder, job[u"JobDocument"]))
            return;
        if (reg::RegistryKey::deleteTree(hive_, path) == RegStatus::Ok)
            ++outcome_.jobs;
    }

    void sweepUnnamedFolders() {
        std::error_code error;
        const auto oldest = fs::file_time_type::clock::now() - UnnamedFolderAge;
        for (const fs::directory_entry& entry : fs::directory_iterator(jobsRoot_, error)) {
            const std::string folder = entry.path().string();
            if (!JobFolder::isJobFolder(folder) || named_.contains(folder) ||
                !entry.is_directory(error) || entry.last_write_time(error) > oldest) {
                continue;
            }
            if (clearFolder(folder, u""))
                ++outcome_.jobs;
        }
    }

    // False, with the folder left as it is, when a PDF in it could not be kept.
    bool clearFolder(const std::string& folder, WStringView title) {
        std::error_code error;
        for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
            if (entry.is_regular_file(error) && !rescue(entry.path().string(), title))
                return false;
        }
        return fs::remove_all(folder, error) != static_cast<std::uintmax_t>(-1) && !error;
    }

    // An intact PDF is published whole before its folder goes; anything else (a print cut
    // short, the program's other files) goes with the folder.
    bool rescue(const std::string& file, WStringView title) {
        std::string bytes;
        std::string error;
        if (!readFileBytes(file, LinkPolicy::Refuse, MaxJobPdfBytes, bytes, error) ||
            !bytes.starts_with("%PDF-") || !checkPdfIntact(bytes, error)) {
            return true;
        }
        FilePublisher publisher;
        if (!undeliveredFolder() || !publisher.open(outcome_.undelivered, error) ||
            !publisher.add(".pdf", bytes, error) ||
            !publisher.publish(safeBaseName(title), error)) {
            return false;
        }
        ++outcome_.rescued;
        return true;
    }

    bool undeliveredFolder() {
        if (!outcome_.undelivered.empty())
            return true;
        SettingsMap settings;
        LayeredSettings().LoadLayeredSettings(SettingsForm::Driver, settings);
        std::string folder;
        std::string error;
        if (!destinationFolder(u"", settings, folder, error) ||
            !makePrivateFolders(folder + kUndelivered, error)) {
            return false;
        }
        outcome_.undelivered = folder + kUndelivered;
        return true;
    }

    reg::RegistryHive hive_;
    std::string jobsRoot_;
    std::set<std::string> named_;
    SweepOutcome outcome_;
};

}  // namespace

SweepOutcome sweepAbandonedJobs() {
    return Sweep().run();
}

}  // namespace korventa::refdriver
