// One host datagram socket under a socket control: native bind or connect, then Qt's events.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include <QHostAddress>
#include <QPointer>
#include <QUdpSocket>

namespace platform::net {

// Every receiver asks for this much room, so a burst from the automation is not dropped.
inline constexpr int kReceiveBufferBytes = 1 << 20;

// The first IPv4 address of a name or dotted text; wsaHostNotFound when there is none.
int32_t resolveIPv4(const std::string& host, QHostAddress& address);
// wsaAddressNotAvailable for a port outside 0..65535 (never wrapped to 16 bits).
int32_t checkPort(int64_t port);

class Channel {
public:
    Channel() = default;
    ~Channel();
    Channel(const Channel&) = delete;
    Channel& operator=(const Channel&) = delete;

    // Both return a Winsock number, 0 when done.
    int32_t bind(const QHostAddress& local, uint16_t port);
    int32_t connect(const QHostAddress& remote, uint16_t port);
    void close();

    bool isOpen() const { return socket_ != nullptr; }
    QUdpSocket* socket() const { return socket_; }
    int receiveBufferSize() const;

    // Raised once per pending datagram from the event loop, never inside itself. A handler
    // that reads nothing is not raised again until the next datagram arrives.
    std::function<void()> onPending;
    void noteRead() { ++readsInEvent_; }

private:
    int32_t adopt(int fd, QAbstractSocket::SocketState state);
    void pump();
    void schedulePump();

    QPointer<QUdpSocket> socket_;
    // Queued events hold this weakly, so a control destroyed meanwhile is never touched.
    std::shared_ptr<Channel*> self_ = std::make_shared<Channel*>(this);
    bool inEvent_ = false;
    int readsInEvent_ = 0;
};

}  // namespace platform::net
