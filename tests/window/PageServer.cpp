#include "window/PageServer.h"

#include <QHostAddress>
#include <QTcpSocket>
#include <memory>

namespace korventa::test {

PageServer::PageServer() {
    (void)server_.listen(QHostAddress::LocalHost, 0);
    connect(&server_, &QTcpServer::newConnection, this, &PageServer::handleConnection);
}

void PageServer::setLink(const QByteArray& path, const QByteArray& href) {
    links_.push_back({path, href});
}

void PageServer::handleConnection() {
    while (QTcpSocket* socket = server_.nextPendingConnection()) {
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        auto head = std::make_shared<QByteArray>();
        connect(socket, &QTcpSocket::readyRead, socket, [this, socket, head] {
            head->append(socket->readAll());
            if (head->contains("\r\n\r\n"))
                answer(*socket, std::exchange(*head, {}));
        });
    }
}

void PageServer::answer(QTcpSocket& socket, const QByteArray& head) {
    const QList<QByteArray> lines = head.split('\n');
    const QList<QByteArray> requestLine = lines.front().trimmed().split(' ');
    ServedRequest request{requestLine.value(1), {}};
    for (const QByteArray& line : lines) {
        if (line.toLower().startsWith("user-agent:"))
            request.userAgent = line.mid(11).trimmed();
    }
    requests.push_back(request);
    const qsizetype query = request.target.indexOf('?');
    const QByteArray path = query < 0 ? request.target : request.target.left(query);
    QByteArray body = "<title>" + path + "</title><p>served " + path + "</p>";
    for (const auto& [from, href] : links_) {
        if (from == path) {
            body += "<a id='link' href='" + href +
                    "' style='display:block;width:300px;height:120px'>next</a>";
        }
    }
    const QByteArray status = path == "/favicon.ico" ? "404 Not Found" : "200 OK";
    socket.write("HTTP/1.1 " + status + "\r\nContent-Type: text/html\r\nContent-Length: " +
                 QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
    socket.disconnectFromHost();
}

}  // namespace korventa::test
