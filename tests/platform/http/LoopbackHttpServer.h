// A small HTTP server on 127.0.0.1 for the tests: canned answers, or silence, per request.
#pragma once

#include <string>
#include <vector>

#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

namespace webtest {

class LoopbackHttpServer {
public:
    LoopbackHttpServer();
    ~LoopbackHttpServer();

    // The next requests get this raw answer (status line, fields, blank line, body), then
    // the connection is closed.
    void answer(const std::string& statusLine, const std::string& body,
                const std::string& contentType = "text/xml");
    // The next requests are read and never answered.
    void stayMute();
    // Answers the requests held by stayMute, and the next ones, with this raw answer.
    void answerWaiting(const std::string& statusLine, const std::string& body);
    // The next connections are closed as soon as the request is in.
    void hangUp();

    quint16 port() const { return server_.serverPort(); }
    std::string base() const { return "http://127.0.0.1:" + std::to_string(port()); }
    // Request lines received ("GET /path?query HTTP/1.1").
    const std::vector<std::string>& requests() const { return requests_; }

private:
    enum class Mode { Answer, Mute, HangUp };
    void serve(QTcpSocket* socket);

    QTcpServer server_;
    Mode mode_ = Mode::Answer;
    std::string response_;
    std::vector<std::string> requests_;
    std::vector<QPointer<QTcpSocket>> held_;
};

// A port on 127.0.0.1 where nothing listens.
quint16 closedPort();

}  // namespace webtest
