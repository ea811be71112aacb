// A plain QUdpSocket on loopback that plays the automation's side, and an event-loop wait.
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QUdpSocket>

namespace nettest {

inline bool waitUntil(const std::function<bool()>& done,
                      std::chrono::milliseconds limit = std::chrono::milliseconds{3000}) {
    QDeadlineTimer deadline(limit);
    while (!done()) {
        if (deadline.hasExpired()) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

// Lets the event loop run for a while (to show that nothing more happens).
inline void settle(std::chrono::milliseconds d = std::chrono::milliseconds{150}) {
    waitUntil([] { return false; }, d);
}

class LoopbackPeer {
public:
    explicit LoopbackPeer(const QHostAddress& address = QHostAddress(QHostAddress::LocalHost)) {
        socket_.bind(address, 0);
    }
    quint16 port() const { return socket_.localPort(); }
    void send(const std::string& bytes, quint16 toPort) {
        socket_.writeDatagram(bytes.data(), qint64(bytes.size()), QHostAddress::LocalHost, toPort);
    }
    // The next datagram's bytes, or "" when none came in time.
    std::string receive(std::chrono::milliseconds limit = std::chrono::milliseconds{3000}) {
        if (!waitUntil([&] { return socket_.hasPendingDatagrams(); }, limit)) return "";
        std::string bytes(size_t(socket_.pendingDatagramSize()), '\0');
        socket_.readDatagram(bytes.data(), qint64(bytes.size()));
        return bytes;
    }

private:
    QUdpSocket socket_;
};

}  // namespace nettest
