// Gives every request of one page the example host's user agent once the rule has chosen it,
// starting with the navigation that chose it: the profile's own agent cannot change while a
// navigation is under way (the browser would reload the current page instead). Installed on
// the page, which it must outlive.
#pragma once

#include <QByteArray>
#include <QWebEngineUrlRequestInterceptor>
#include <atomic>
#include <utility>

namespace korventa {

class UserAgentInterceptor final : public QWebEngineUrlRequestInterceptor {
public:
    explicit UserAgentInterceptor(QByteArray agent) : agent_(std::move(agent)) {}

    void activate() { active_ = true; }
    void interceptRequest(QWebEngineUrlRequestInfo& info) override;

private:
    const QByteArray agent_;
    std::atomic<bool> active_{false};
};

}  // namespace korventa
