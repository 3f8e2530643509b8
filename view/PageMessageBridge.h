// The program's end of page messages on the web channel, reachable only from the isolated
// world: the page's postMessage payloads (flagged when they were not strings) and the notice
// that a conversion request failed inside the page with the page's reason, each with the
// sending document's address.
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
    void postMessage(const QString& text, bool isString, const QString& source);
    void requestFailed(const QString& source, const QString& reason);

signals:
    void messageReceived(const QString& text, bool isString, const QString& source);
    void requestFailedReceived(const QString& source, const QString& reason);
};

}  // namespace korventa
