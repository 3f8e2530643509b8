// A plain HTTP server on 127.0.0.1 for the window tests: answers every GET with a small page
// whose title is the request's path and records each request line with its user agent.
// Lives in the test's thread and serves from its event loop.
#pragma once

#include <QByteArray>
#include <QList>
#include <QTcpServer>
#include <utility>

namespace korventa::test {

struct ServedRequest {
    QByteArray target;  // as sent: path and query, percent-encoded
    QByteArray userAgent;
};

class PageServer final : public QObject {
    Q_OBJECT

public:
    PageServer();

    [[nodiscard]] quint16 port() const { return server_.serverPort(); }
    // The page at `path` links to `href` in a block at the top left, when it is given.
    void setLink(const QByteArray& path, const QByteArray& href);
    QList<ServedRequest> requests;

private:
    void handleConnection();
    void answer(QTcpSocket& socket, const QByteArray& head);

    QTcpServer server_;
    QList<std::pair<QByteArray, QByteArray>> links_;
};

}  // namespace korventa::test
