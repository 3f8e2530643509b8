// The program's end of page messages on the web channel, reachable only from the isolated
// world: the page's postMessage payloads (flagged when they were not strings, with the
// sending document's address) and the notice that a conversion request failed inside the
// page with the page's reason, each with the token of the request that was waiting when it
// was sent (empty when none was).
// Owned by the view; its slots are called by the channel on the window thread.
#pragma once

#include <QObject>
#include <QString>

namespace korventa {

class PageMessageBridge : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

public slots:
    void postMessage(const QString& text, bool isString, const QString& source,
                     const QString& request);
    void requestFailed(const QString& reason, const QString& request);

signals:
    void messageReceived(const QString& text, bool isString, const QString& source,
                         const QString& request);
    void requestFailedReceived(const QString& reason, const QString& request);
};

}  // namespace korventa
