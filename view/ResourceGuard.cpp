#include "view/ResourceGuard.h"

#include <QUrl>

namespace korventa {

void ResourceGuard::interceptRequest(QWebEngineUrlRequestInfo& info) {
    if (info.requestUrl().scheme() != QStringLiteral("qrc"))
        return;
    // An address the user opens has no initiator; a page's own request carries its origin.
    const QString origin = info.initiator().scheme();
    const bool local = origin.isEmpty() || origin == QStringLiteral("file") ||
                       origin == QStringLiteral("qrc");
    if (!local)
        info.block(true);
}

}  // namespace korventa
