#include "view/BrowserEnvironment.h"

#include <QWebEngineProfile>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <optional>
#include <system_error>

namespace korventa {
namespace {

constexpr char kProfileName[] = "KORVENTA";
constexpr char kDataHomeVariable[] = "XDG_DATA_HOME";

// Points the base data folder elsewhere for one scope and puts the old value back.
class ScopedDataHome {
public:
    explicit ScopedDataHome(const QString& folder) {
        if (qEnvironmentVariableIsSet(kDataHomeVariable))
            saved_ = qgetenv(kDataHomeVariable);
        qputenv(kDataHomeVariable, folder.toLocal8Bit());
    }
    ~ScopedDataHome() {
        if (saved_) {
            qputenv(kDataHomeVariable, *saved_);
        } else {
            qunsetenv(kDataHomeVariable);
        }
    }
    ScopedDataHome(const ScopedDataHome&) = delete;
    ScopedDataHome& operator=(const ScopedDataHome&) = delete;

private:
    std::optional<QByteArray> saved_;
};

// The fallback lies in a folder every user may write to: one that someone else made first,
// or that anyone may change, would give them the cookies and storage of every page. A
// group-writable folder stays usable: with a group per user, that is the desktop's default.
HResult checkUsersOwn(const std::filesystem::path& folder) {
    struct stat info {};
    if (::lstat(folder.c_str(), &info) != 0)
        return E_FAIL;
    if (S_ISLNK(info.st_mode) || info.st_uid != ::geteuid() || (info.st_mode & S_IWOTH) != 0) {
        return E_ACCESSDENIED;
    }
    return S_ISDIR(info.st_mode) ? S_OK : E_FAIL;
}

}  // namespace

HResult BrowserEnvironment::prepareDataFolder(const WString& dataFolder) {
    if (dataFolder.empty())
        return S_OK;
    const std::filesystem::path folder(toUtf8(dataFolder));
    std::error_code error;
    std::filesystem::create_directories(folder.parent_path(), error);
    if (!error && ::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
        error = std::error_code(errno, std::generic_category());
    if (!error)
        return checkUsersOwn(folder);
    const bool refused = error == std::errc::permission_denied ||
                         error == std::errc::operation_not_permitted ||
                         error == std::errc::read_only_file_system;
    return refused ? E_ACCESSDENIED : E_FAIL;
}

BrowserEnvironment::BrowserEnvironment(const WString& dataFolder)
    : profile_(createNamedProfile(constructorDefaults_)) {
    profile_->setUrlRequestInterceptor(&resourceGuard_);
    if (dataFolder.empty())
        return;
    const QString folder = QString::fromStdU16String(dataFolder);
    profile_->setPersistentStoragePath(folder);
    profile_->setCachePath(folder + QStringLiteral("/Cache"));
}

BrowserEnvironment::~BrowserEnvironment() = default;

std::unique_ptr<QWebEngineProfile> BrowserEnvironment::createNamedProfile(
    const QTemporaryDir& defaults) {
    // Qt reads the base folder from the environment during this call only, so the variable
    // is changed just around it, on the GUI thread that makes every profile.
    if (!defaults.isValid())
        return std::make_unique<QWebEngineProfile>(kProfileName);
    const ScopedDataHome dataHome(defaults.path());
    return std::make_unique<QWebEngineProfile>(kProfileName);
}

}  // namespace korventa
