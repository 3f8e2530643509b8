// Answers the page's permission requests (later, on the window thread, with a remembered
// Yes/No prompt) and hooks the start of every main-frame navigation: opening the fixed
// example host switches the user agent for good, at once for the page's requests and, once
// that page has loaded, for the profile (what scripts read). Holds references to the page,
// profile, runner and prompts, which all outlive it (the view owns them); GUI thread only.
#pragma once

#include <QMetaObject>
#include <QString>
#include <QUrl>
#include <memory>

#include "app/CheckFailure.h"
#include "app/UserPrompts.h"
#include "components/AsyncRunner.h"
#include "components/ComponentBase.h"
#include "components/PermissionDecisions.h"
#include "components/UserAgentInterceptor.h"
#include "components/WebPage.h"

class QWebEngineProfile;

namespace korventa {

class SettingsComponent : public ComponentBase {
public:
    static constexpr QStringView kExampleHost = u"navigation.example";
    static constexpr QStringView kExampleUserAgent = u"example_navigation_ua";

    SettingsComponent(WebPage& page, QWebEngineProfile& profile, AsyncRunner& runner,
                      UserPrompts& prompts, FailureReporter& failures);
    ~SettingsComponent() override;

    // The browser's feature as one of the stable permission kinds.
    [[nodiscard]] static std::int32_t permissionKind(QWebEnginePage::Feature feature);

private:
    void handleNavigationRequested(const QUrl& url, bool isMainFrame);
    void handleLoadFinished();
    void handlePermissionRequested(const QUrl& origin, QWebEnginePage::Feature feature);
    void answerPermission(const QUrl& origin, QWebEnginePage::Feature feature);

    WebPage& page_;
    QWebEngineProfile& profile_;
    AsyncRunner& runner_;
    UserPrompts& prompts_;
    PermissionDecisions decisions_;
    QString userAgent_;
    UserAgentInterceptor agentInterceptor_{kExampleUserAgent.toUtf8()};
    // Queued answers hold a weak reference: one that runs after the component is gone
    // (the browser was recreated) does nothing.
    std::shared_ptr<char> lifetime_ = std::make_shared<char>();
    QMetaObject::Connection navigationConnection_;
    QMetaObject::Connection loadConnection_;
    QMetaObject::Connection permissionConnection_;
};

}  // namespace korventa
