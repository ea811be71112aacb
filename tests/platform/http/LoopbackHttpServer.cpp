// The tests' HTTP server: reads one request per connection and answers as told.
#include "tests/platform/http/LoopbackHttpServer.h"

#include <QTcpSocket>

namespace webtest {

LoopbackHttpServer::LoopbackHttpServer() {
    server_.listen(QHostAddress::LocalHost, 0);
    QObject::connect(&server_, &QTcpServer::newConnection, [this] {
        while (QTcpSocket* socket = server_.nextPendingConnection()) serve(socket);
    });
    answer("HTTP/1.1 200 OK", "");
}

LoopbackHttpServer::~LoopbackHttpServer() { server_.close(); }

void LoopbackHttpServer::answer(const std::string& statusLine, const std::string& body,
                                const std::string& contentType) {
    mode_ = Mode::Answer;
    response_ = statusLine + "\r\nContent-Type: " + contentType +
                "\r\nContent-Length: " + std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
}

void LoopbackHttpServer::stayMute() { mode_ = Mode::Mute; }

void LoopbackHttpServer::answerWaiting(const std::string& statusLine, const std::string& body) {
    answer(statusLine, body);
    for (const QPointer<QTcpSocket>& socket : held_) {
        if (!socket) continue;
        socket->write(response_.data(), qint64(response_.size()));
        socket->disconnectFromHost();
    }
    held_.clear();
}

void LoopbackHttpServer::hangUp() { mode_ = Mode::HangUp; }

void LoopbackHttpServer::serve(QTcpSocket* socket) {
    QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    auto received = std::make_shared<QByteArray>();
    QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket, received] {
        received->append(socket->readAll());
        if (!received->contains("\r\n\r\n")) return;
        requests_.push_back(received->left(received->indexOf("\r\n")).toStdString());
        received->clear();
        switch (mode_) {
            case Mode::Answer:
                socket->write(response_.data(), qint64(response_.size()));
                socket->disconnectFromHost();
                break;
            case Mode::HangUp:
                socket->abort();
                socket->deleteLater();
                break;
            case Mode::Mute:
                held_.emplace_back(socket);
                break;
        }
    });
}

quint16 closedPort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const quint16 port = probe.serverPort();
    probe.close();
    return port;
}

}  // namespace webtest
