#include "view/BrowserAddress.h"

#include <QString>

namespace korventa {
namespace {

// Only these schemes are repaired: any other "word:" start may be a drive letter or text.
bool isRepairableScheme(const QString& scheme) {
    return scheme == u"http" || scheme == u"https" || scheme == u"file" || scheme == u"ftp";
}

std::optional<QUrl> repairedUrl(const QString& address) {
    const QUrl url(address, QUrl::TolerantMode);
    const bool hostRequired = url.scheme() != u"file";
    if (!url.isValid() || url.isRelative() || !isRepairableScheme(url.scheme()) ||
        !address.contains(QStringLiteral("://")) || (hostRequired && url.host().isEmpty())) {
        return std::nullopt;
    }
    // The encoded form, so what reaches the server is what a browser would send.
    return QUrl::fromEncoded(url.toEncoded(), QUrl::StrictMode);
}

}  // namespace

std::optional<QUrl> browserUrl(const WString& text) {
    const QString address = QString::fromStdU16String(text);
    if (address.startsWith(u'/'))
        return QUrl::fromLocalFile(address);
    const QUrl url(address, QUrl::StrictMode);
    if (url.isValid() && !url.isRelative())
        return url;
    return repairedUrl(address.trimmed());
}

}  // namespace korventa
