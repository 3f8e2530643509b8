#include "components/UserAgentInterceptor.h"

namespace korventa {

void UserAgentInterceptor::interceptRequest(QWebEngineUrlRequestInfo& info) {
    if (active_)
        info.setHttpHeader(QByteArrayLiteral("User-Agent"), agent_);
}

}  // namespace korventa
