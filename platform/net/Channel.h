// One host datagram socket under a socket control: native bind or connect, then Qt's events.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QHostAddress>
#include <QPointer>
#include <QUdpSocket>

namespace platform::net {

// Every receiver asks the kernel for this much room (at least 1 MiB is needed; a burst of
// 10,000 full datagrams from one sender must survive a window that stalls for milliseconds),
// and moves what arrives into a queue of its own (up to kQueuedBytesLimit) before each read
// event, so that the burst waits here while the handlers work.
inline constexpr int kReceiveBufferBytes = 16 << 20;
inline constexpr qint64 kQueuedBytesLimit = qint64(64) << 20;

struct Datagram {
    QByteArray bytes;
    QHostAddress sender;
    quint16 senderPort = 0;
};

// The address a dotted quad names (blanks around it ignored): wsaAddressNotAvailable for an
// IPv6 address, wsaHostNotFound for anything else. Nothing here looks a name up: that is
// HostLookup's, off the event loop.
int32_t literalIPv4(const std::string& host, QHostAddress& address);
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
    bool hasPending();
    qint64 pendingSize();  // of the next datagram, -1 when none
    // The next datagram cut to maxLength (the rest of it is lost); a Winsock number, 0 when
    // one was taken.
    int32_t take(Datagram& datagram, qint64 maxLength);
    QUdpSocket* socket() const { return socket_; }
    int receiveBufferSize() const;

    // Raised once per pending datagram from the event loop, never inside itself. A handler
    // that reads nothing is not raised again until the next datagram arrives (one that came
    // while it ran counts).
    std::function<void()> onPending;
    void noteRead() { ++readsInEvent_; }

private:
    int32_t adopt(int fd, QAbstractSocket::SocketState state);
    void pull();
    void pump();
    void schedulePump();

    QPointer<QUdpSocket> socket_;
    // Queued events hold this weakly, so a control destroyed meanwhile is never touched.
    std::shared_ptr<Channel*> self_ = std::make_shared<Channel*>(this);
    std::vector<char> scratch_;
    std::deque<Datagram> queued_;
    qint64 queuedBytes_ = 0;
    int32_t pendingError_ = 0;  // a failed kernel read, reported by the next take
    bool inEvent_ = false;
    bool raisedMeanwhile_ = false;  // a datagram came while the handler ran
    int readsInEvent_ = 0;
};

}  // namespace platform::net
