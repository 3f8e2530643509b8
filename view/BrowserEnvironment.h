// The browser environment: a persistent, named profile whose storage and cache live in the
// view's user data folder. Owns the profile; pages made with it must be deleted before it.
// GUI thread only.
#pragma once

#include <QTemporaryDir>
#include <memory>

#include "core/Status.h"
#include "core/Text.h"
#include "view/ResourceGuard.h"

class QWebEngineProfile;

namespace korventa {

class BrowserEnvironment {
public:
    // Creates the user data folder, its last part private to the user: S_OK, E_ACCESSDENIED
    // when the system refuses access or the folder is not the user's alone (owned by someone
    // else, a link, or writable by anyone), E_FAIL otherwise (for example a file in the way).
    // An empty folder is Qt's default.
    [[nodiscard]] static HResult prepareDataFolder(const WString& dataFolder);

    explicit BrowserEnvironment(const WString& dataFolder);
    ~BrowserEnvironment();
    BrowserEnvironment(const BrowserEnvironment&) = delete;
    BrowserEnvironment& operator=(const BrowserEnvironment&) = delete;

    [[nodiscard]] QWebEngineProfile& profile() { return *profile_; }

private:
    [[nodiscard]] static std::unique_ptr<QWebEngineProfile> createNamedProfile(
        const QTemporaryDir& defaults);

    // The named-profile constructor writes its own default folder before any path can be
    // set; that write is sent here and removed with the environment.
    QTemporaryDir constructorDefaults_;
    ResourceGuard resourceGuard_;  // before the profile, so it outlives it
    std::unique_ptr<QWebEngineProfile> profile_;
};

}  // namespace korventa
