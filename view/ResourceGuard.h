// Keeps the program's own resources (qrc:) away from what a remote page asks for: a request
// for them is blocked unless no page or a local one (file:, qrc:) made it. Installed on the
// browser profile, which it must outlive; called on the browser's IO thread, so it holds no
// state.
#pragma once

#include <QWebEngineUrlRequestInterceptor>

namespace korventa {

class ResourceGuard final : public QWebEngineUrlRequestInterceptor {
public:
    void interceptRequest(QWebEngineUrlRequestInfo& info) override;
};

}  // namespace korventa
