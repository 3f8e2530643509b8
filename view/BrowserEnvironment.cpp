#include "view/BrowserEnvironment.h"

#include <QWebEngineProfile>
#include <cerrno>
#include <filesystem>
#include <optional>
#include <system_error>

namespace korventa {
namespace {

constexpr HResult E_ACCESSDENIED = static_cast<HResult>(0x80070005u);
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

}  // namespace

HResult BrowserEnvironment::prepareDataFolder(const WString& dataFolder) {
    if (dataFolder.empty())
        return S_OK;
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(toUtf8(dataFolder)), error);
    if (!error)
        return S_OK;
    const bool refused = error == std::errc::permission_denied ||
                         error == std::errc::operation_not_permitted ||
                         error == std::errc::read_only_file_system;
    return refused ? E_ACCESSDENIED : E_FAIL;
}

BrowserEnvironment::BrowserEnvironment(const WString& dataFolder)
    : profile_(createNamedProfile(constructorDefaults_)) {
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
