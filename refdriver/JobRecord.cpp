#include "refdriver/JobRecord.h"

#include <sys/stat.h>

#include <filesystem>
#include <system_error>

#include "driver/KeyValues.h"
#include "platform/registry/RegName.h"
#include "platform/registry/RegistryHive.h"
#include "refdriver/JobFolder.h"

namespace korventa::refdriver {
namespace {

// Lexically normal and without a trailing slash, so that parents compare as texts.
std::string normalPath(const std::string& path) {
    std::string normal = std::filesystem::path(path).lexically_normal().string();
    while (normal.size() > 1 && normal.back() == '/') normal.pop_back();
    return normal;
}

std::string parentOf(const std::string& path) {
    return std::filesystem::path(path).parent_path().string();
}

bool isRealFolder(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool isDriverJobFolder(const std::string& folder) {
    std::string root;
    if (!JobFolder::rootPath(root) || folder.empty() || folder.front() != '/') return false;
    std::error_code error;
    const auto realRoot = std::filesystem::canonical(root, error);
    if (error || !isRealFolder(folder)) return false;
    const auto realParent = std::filesystem::canonical(parentOf(folder), error);
    return !error && realParent == realRoot;
}

}  // namespace

bool JobRecord::load(WStringView jobKeyName, std::string& error) {
    values_.clear();
    const auto hive = reg::RegistryHive::local(reg::RootKey::CurrentUser);
    if (ReadKeyValues(driverKeyPath(jobKeyName), values_, hive) != reg::RegStatus::Ok) {
        error = "the job key cannot be read";
        return false;
    }
    folder_ = normalPath(toUtf8(text(u"JobTempPath")));
    if (!isDriverJobFolder(folder_)) {
        error = "the job folder \"" + folder_ + "\" is not one the driver made";
        return false;
    }
    WString pdf = text(u"JobTempPDF");
    if (pdf.empty()) pdf = text(u"JobSrcPDFName");
    pdfPath_ = normalPath(toUtf8(pdf));
    if (parentOf(pdfPath_) != folder_) {
        error = "the PDF \"" + pdfPath_ + "\" is not in the job folder";
        return false;
    }
    return true;
}

// Value names of one key differ in more than ASCII case, as the store compares them: a page
// that wrote "doctitle" set the same value as "DocTitle".
WString JobRecord::text(WStringView name) const {
    if (const auto exact = values_.find(WString(name)); exact != values_.end()) {
        return exact->second;
    }
    for (const auto& [valueName, valueText] : values_) {
        if (reg::sameName(valueName, name)) return valueText;
    }
    return {};
}

std::string JobRecord::xmlPath() const {
    const std::string path = toUtf8(trimBlanks(text(u"AnnZUGFeRD")));
    return !path.empty() && path.front() == '/' ? normalPath(path) : std::string();
}

bool JobRecord::ownsXml() const {
    const std::string path = xmlPath();
    return !path.empty() && parentOf(path) == folder_;
}

WString JobRecord::title() const {
    const WString title(trimBlanks(text(u"DocTitle")));
    return title.empty() ? WString(trimBlanks(text(u"JobDocument"))) : title;
}

}  // namespace korventa::refdriver
