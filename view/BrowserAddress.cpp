#include "view/BrowserAddress.h"

#include <QString>

namespace korventa {

std::optional<QUrl> browserUrl(const WString& text) {
    const QString address = QString::fromStdU16String(text);
    if (address.startsWith(u'/'))
        return QUrl::fromLocalFile(address);
    const QUrl url(address, QUrl::StrictMode);
    if (!url.isValid() || url.isRelative())
        return std::nullopt;
    return url;
}

}  // namespace korventa
