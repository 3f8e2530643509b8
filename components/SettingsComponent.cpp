#include "components/SettingsComponent.h"

#include <QWebEngineProfile>

namespace korventa {
namespace {

QWebEnginePage::PermissionPolicy policyFor(PermissionState state) {
    switch (state) {
        case PermissionState::Allow:
            return QWebEnginePage::PermissionGrantedByUser;
        case PermissionState::Deny:
            return QWebEnginePage::PermissionDeniedByUser;
        // Qt has no default handling to fall back on, and PermissionUnknown leaves the
        // page's request pending for good: refuse this one request, remembering nothing.
        case PermissionState::Default:
            return QWebEnginePage::PermissionDeniedByUser;
    }
    return QWebEnginePage::PermissionUnknown;
}

}  // namespace

SettingsComponent::SettingsComponent(WebPage& page, QWebEngineProfile& profile, AsyncRunner& runner,
                                     UserPrompts& prompts, FailureReporter& failures)
    : page_(page), profile_(profile), runner_(runner), prompts_(prompts) {
    navigationConnection_ =
        QObject::connect(&page_, &WebPage::navigationRequested, &page_,
                         [this](const QUrl& url, QWebEnginePage::NavigationType, bool isMainFrame) {
                             handleNavigationRequested(url, isMainFrame);
                         });
    if (!navigationConnection_)
        failures.CheckFailure(E_FAIL, FAILURE_LOCATION());
    loadConnection_ = QObject::connect(&page_, &QWebEnginePage::loadFinished, &page_,
                                       [this] { handleLoadFinished(); });
    page_.setUrlRequestInterceptor(&agentInterceptor_);
    permissionConnection_ =
        QObject::connect(&page_, &QWebEnginePage::featurePermissionRequested, &page_,
                         [this](const QUrl& origin, QWebEnginePage::Feature feature) {
                             handlePermissionRequested(origin, feature);
                         });
    if (!permissionConnection_)
        failures.CheckFailure(E_FAIL, FAILURE_LOCATION());
}

SettingsComponent::~SettingsComponent() {
    QObject::disconnect(navigationConnection_);
    QObject::disconnect(loadConnection_);
    page_.setUrlRequestInterceptor(nullptr);
    QObject::disconnect(permissionConnection_);
}

std::int32_t SettingsComponent::permissionKind(QWebEnginePage::Feature feature) {
    switch (feature) {
        case QWebEnginePage::MediaAudioCapture:
            return kPermissionMicrophone;
        case QWebEnginePage::MediaVideoCapture:
            return kPermissionCamera;
        case QWebEnginePage::MediaAudioVideoCapture:
            return kPermissionCamera;
        case QWebEnginePage::Geolocation:
            return kPermissionGeolocation;
        case QWebEnginePage::Notifications:
            return kPermissionNotifications;
        case QWebEnginePage::MouseLock:
        case QWebEnginePage::DesktopVideoCapture:
        case QWebEnginePage::DesktopAudioVideoCapture:
            return kPermissionUnknown;
    }
    return kPermissionUnknown;
}

void SettingsComponent::handleNavigationRequested(const QUrl& url, bool isMainFrame) {
    if (!isMainFrame || !url.isValid())
        return;
    if (url.host() != kExampleHost)
        return;
    userAgent_ = kExampleUserAgent.toString();
    agentInterceptor_.activate();
}

// Not earlier: a profile agent set while a navigation is under way reloads the current page
// and drops the navigation.
void SettingsComponent::handleLoadFinished() {
    if (!userAgent_.isEmpty() && profile_.httpUserAgent() != userAgent_)
        profile_.setHttpUserAgent(userAgent_);
}

void SettingsComponent::handlePermissionRequested(const QUrl& origin,
                                                  QWebEnginePage::Feature feature) {
    // The prompt runs later so the browser's callback returns at once; Qt holds the
    // request until setFeaturePermission answers it.
    runner_.RunAsync([this, alive = std::weak_ptr<char>(lifetime_), origin, feature] {
        if (!alive.expired())
            answerPermission(origin, feature);
    });
}

void SettingsComponent::answerPermission(const QUrl& origin, QWebEnginePage::Feature feature) {
    // Qt gives no user-gesture flag: every request counts as made without one.
    const PermissionKey key{origin.toString().toStdU16String(), permissionKind(feature), 0};
    const PermissionState state = decisions_.decide(key, prompts_);
    page_.setFeaturePermission(origin, feature, policyFor(state));
}

}  // namespace korventa
