// One host datagram socket under a socket control: native bind, connect and reads, and the
// event loop's notice of what arrives.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>

#include <QByteArray>
#include <QHostAddress>

#include "platform/UniqueFd.h"

class QSocketNotifier;

namespace platform::net {

// Every receiver asks the kernel for this much room (at least 1 MiB is needed; a burst of
// 10,000 full datagrams from one sender must survive a window that stalls for milliseconds),
// and moves what arrives into a queue of its own (up to kQueuedBytesLimit) before each read
// event, so that the burst waits here while the handlers work.
inline constexpr int kReceiveBufferBytes = 16 << 20;
inline constexpr qint64 kQueuedBytesLimit = qint64(64) << 20;
// How deep a read handler that waits (and so runs the event loop) may be entered again by
// the datagrams that arrive meanwhile; deeper, they wait until a handler returns.
inline constexpr int kMaxNestedReads = 4;

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
    Channel();
    ~Channel();
    Channel(const Channel&) = delete;
    Channel& operator=(const Channel&) = delete;

    // Both return a Winsock number, 0 when done. A sender's descriptor outlives its close:
    // the next connect only names the new peer, one call on the same socket.
    int32_t bind(const QHostAddress& local, uint16_t port);
    int32_t connect(const QHostAddress& remote, uint16_t port);
    // A bound socket is closed and its port freed at once; a connected one drops its peer, and
    // with it what the peer sent and any refusal it caused.
    void close();

    bool isOpen() const { return open_; }
    int descriptor() const { return open_ ? fd_.get() : -1; }
    bool hasPending();
    qint64 pendingSize();  // of the next datagram, -1 when none
    // The next datagram cut to maxLength (the rest of it is lost); a Winsock number, 0 when
    // one was taken.
    int32_t take(Datagram& datagram, qint64 maxLength);
    QHostAddress localAddress() const;
    uint16_t localPort() const;
    int receiveBufferSize() const;

    // Raised once per pending datagram from the event loop. A handler that reads nothing is
    // not raised again until the next datagram arrives (one that came while it ran counts).
    // A handler that lets the event loop run (a wait) is raised again inside itself for the
    // datagrams that arrive meanwhile, down to kMaxNestedReads; one that does not never is.
    std::function<void()> onPending;
    // A read met a failure (a refused peer): its Winsock number, also the next take's result.
    std::function<void(int32_t error)> onError;
    void noteRead() { ++reads_; }

private:
    int32_t watch(bool bound);  // fd_, just bound or connected
    void dropDescriptor();
    void pull();
    void pump();
    void schedulePump();

    UniqueFd fd_;
    bool open_ = false;
    bool bound_ = false;
    std::unique_ptr<QSocketNotifier> notifier_;
    // Queued events hold this weakly, so a control destroyed meanwhile is never touched.
    std::shared_ptr<Channel*> self_ = std::make_shared<Channel*>(this);
    std::deque<Datagram> queued_;
    qint64 queuedBytes_ = 0;
    bool queueFull_ = false;    // the kernel keeps the rest; its notices wait for a take
    int32_t pendingError_ = 0;  // a failed kernel read, reported by the next take
    uint64_t opened_ = 0;       // counts opens: a handler that closed and reopened is seen
    // Read handlers running, one inside the other's wait; shared with each handler's guard,
    // which may outlive a control destroyed by its own handler.
    std::shared_ptr<int> depth_ = std::make_shared<int>(0);
    uint64_t reads_ = 0;
    uint64_t held_ = 0;  // notices that found the handlers too deep
};

}  // namespace platform::net
