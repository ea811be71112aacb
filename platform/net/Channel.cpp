// Native datagram sockets (for errno, the receive buffer and a cheap change of peer) watched
// by a socket notifier of the event loop.
#include "platform/net/Channel.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <cerrno>

#include <vector>

#include <QSocketNotifier>
#include <QTimer>

#include "platform/net/HostLookup.h"
#include "platform/net/WinsockErrors.h"

namespace platform::net {

namespace {

UniqueFd openDatagramSocket(bool receiver, int32_t& error) {
    UniqueFd fd(::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (!fd) {
        error = fromErrno(errno);
        return fd;
    }
    error = 0;
    if (!receiver) return fd;
    int size = kReceiveBufferBytes;
    ::setsockopt(fd.get(), SOL_SOCKET, SO_RCVBUF, &size, sizeof size);
    int granted = 0;
    socklen_t length = sizeof granted;
    ::getsockopt(fd.get(), SOL_SOCKET, SO_RCVBUF, &granted, &length);
    if (granted < kReceiveBufferBytes)  // capped by rmem_max: force it where we may
        ::setsockopt(fd.get(), SOL_SOCKET, SO_RCVBUFFORCE, &size, sizeof size);
    return fd;
}

sockaddr_in endpoint(const QHostAddress& address, uint16_t port) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    a.sin_addr.s_addr = htonl(address.toIPv4Address());
    return a;
}

class Depth {
public:
    explicit Depth(std::shared_ptr<int> depth) : depth_(std::move(depth)) { ++*depth_; }
    ~Depth() { --*depth_; }
    Depth(const Depth&) = delete;
    Depth& operator=(const Depth&) = delete;

private:
    std::shared_ptr<int> depth_;
};

}  // namespace

int32_t literalIPv4(const std::string& host, QHostAddress& address) {
    const QString text = QString::fromStdString(host).trimmed();
    if (parseDottedQuad(text.toStdString(), address)) return wsaOk;
    if (text.contains(':') && QHostAddress(text).protocol() == QAbstractSocket::IPv6Protocol)
        return wsaAddressNotAvailable;
    return wsaHostNotFound;
}

int32_t checkPort(int64_t port) { return port < 0 || port > 65535 ? wsaAddressNotAvailable : wsaOk; }

Channel::Channel() = default;

Channel::~Channel() {
    close();
    dropDescriptor();
    // Destroyed from inside its own handler: the notifier still has its signal to return from.
    if (*depth_ > 0 && notifier_) {
        notifier_->disconnect();
        notifier_.release()->deleteLater();
    }
}

int32_t Channel::bind(const QHostAddress& local, uint16_t port) {
    if (open_) return wsaInvalidArgument;
    dropDescriptor();
    int32_t error = 0;
    UniqueFd fd = openDatagramSocket(true, error);
    if (!fd) return error;
    const sockaddr_in a = endpoint(local, port);
    if (::bind(fd.get(), reinterpret_cast<const sockaddr*>(&a), sizeof a) != 0) return fromErrno(errno);
    fd_ = std::move(fd);
    return watch(true);
}

int32_t Channel::connect(const QHostAddress& remote, uint16_t port) {
    if (open_) return wsaInvalidArgument;
    if (!fd_) {
        int32_t error = 0;
        fd_ = openDatagramSocket(false, error);
        if (!fd_) return error;
    }
    const sockaddr_in a = endpoint(remote, port);
    if (::connect(fd_.get(), reinterpret_cast<const sockaddr*>(&a), sizeof a) != 0) return fromErrno(errno);
    return watch(false);
}

int32_t Channel::watch(bool bound) {
    if (!notifier_) {
        notifier_ = std::make_unique<QSocketNotifier>(QSocketNotifier::Read);
        QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(), [this] { pump(); });
    }
    bound_ = bound;
    open_ = true;
    ++opened_;
    notifier_->setSocket(fd_.get());
    notifier_->setEnabled(true);
    return wsaOk;
}

void Channel::close() {
    queued_.clear();
    queuedBytes_ = 0;
    queueFull_ = false;
    pendingError_ = 0;
    if (!open_) return;
    open_ = false;
    if (notifier_) notifier_->setEnabled(false);
    if (bound_) {
        dropDescriptor();  // frees the port now
        return;
    }
    sockaddr unspecified{};
    unspecified.sa_family = AF_UNSPEC;
    ::connect(fd_.get(), &unspecified, sizeof unspecified);
    int refused = 0;
    socklen_t length = sizeof refused;
    ::getsockopt(fd_.get(), SOL_SOCKET, SO_ERROR, &refused, &length);  // reading it clears it
    char unread[1];
    while (::recv(fd_.get(), unread, sizeof unread, MSG_DONTWAIT | MSG_TRUNC) >= 0) {}
}

void Channel::dropDescriptor() {
    if (!fd_) return;
    if (notifier_) notifier_->setEnabled(false);
    fd_.reset();
}

void Channel::pull() {
    if (!open_ || queueFull_) return;
    // One read per datagram into a buffer as large as any datagram can be, until the kernel
    // has nothing left: its readiness is heard again only for what comes next.
    static std::vector<char> scratch(65536);
    while (queuedBytes_ < kQueuedBytesLimit) {
        sockaddr_in from{};
        socklen_t length = sizeof from;
        const ssize_t n = ::recvfrom(fd_.get(), scratch.data(), scratch.size(), 0,
                                     reinterpret_cast<sockaddr*>(&from), &length);
        if (n < 0) {
            if (errno == EINTR) continue;
            if (errno != EAGAIN && errno != EWOULDBLOCK) pendingError_ = fromErrno(errno);
            return;
        }
        Datagram d;
        d.bytes = QByteArray(scratch.data(), qsizetype(n));
        d.sender = QHostAddress(ntohl(from.sin_addr.s_addr));
        d.senderPort = ntohs(from.sin_port);
        queuedBytes_ += n;
        queued_.push_back(std::move(d));
    }
    queueFull_ = true;
    notifier_->setEnabled(false);
}

bool Channel::hasPending() {
    if (queued_.empty()) pull();
    return !queued_.empty() || pendingError_ != 0;
}

qint64 Channel::pendingSize() {
    if (queued_.empty()) pull();
    return queued_.empty() ? -1 : queued_.front().bytes.size();
}

int32_t Channel::take(Datagram& datagram, qint64 maxLength) {
    if (!open_) return wsaNotConnected;
    noteRead();
    if (queued_.empty()) pull();
    if (queued_.empty()) {
        const int32_t error = pendingError_ != 0 ? pendingError_ : int32_t(wsaWouldBlock);
        pendingError_ = 0;
        return error;
    }
    datagram = std::move(queued_.front());
    queued_.pop_front();
    queuedBytes_ -= datagram.bytes.size();
    if (queueFull_ && queuedBytes_ < kQueuedBytesLimit) {
        queueFull_ = false;
        notifier_->setEnabled(true);
    }
    if (maxLength >= 0 && datagram.bytes.size() > maxLength) datagram.bytes.truncate(maxLength);
    return wsaOk;
}

QHostAddress Channel::localAddress() const {
    sockaddr_in a{};
    socklen_t length = sizeof a;
    if (!open_ || ::getsockname(fd_.get(), reinterpret_cast<sockaddr*>(&a), &length) != 0) return {};
    return QHostAddress(ntohl(a.sin_addr.s_addr));
}

uint16_t Channel::localPort() const {
    sockaddr_in a{};
    socklen_t length = sizeof a;
    if (!open_ || ::getsockname(fd_.get(), reinterpret_cast<sockaddr*>(&a), &length) != 0) return 0;
    return ntohs(a.sin_port);
}

int Channel::receiveBufferSize() const {
    if (!open_) return 0;
    int size = 0;
    socklen_t length = sizeof size;
    ::getsockopt(fd_.get(), SOL_SOCKET, SO_RCVBUF, &size, &length);
    return size;
}

void Channel::pump() {
    if (!open_) return;
    const int32_t errorBefore = pendingError_;
    pull();  // whatever the kernel holds moves here at every notice, however long the queue
    if (pendingError_ != 0 && errorBefore == 0 && onError) {
        const std::weak_ptr<Channel*> alive = self_;
        onError(pendingError_);
        if (alive.expired() || !open_) return;
    }
    if (*depth_ >= kMaxNestedReads) {
        ++held_;  // raised again once a running handler returns
        return;
    }
    if (!onPending || !hasPending()) return;
    const std::weak_ptr<Channel*> alive = self_;
    const uint64_t opened = opened_, readsBefore = reads_, heldBefore = held_;
    {
        const Depth inHandler(depth_);
        onPending();
    }
    if (alive.expired()) return;
    // What reached the kernel meanwhile raises its own notice; only what is queued here waits.
    if (opened == opened_ && open_ && (reads_ > readsBefore || held_ > heldBefore) &&
        (!queued_.empty() || pendingError_ != 0))
        schedulePump();
}

void Channel::schedulePump() {
    // Queued, so timers and other sockets get their turn between two datagrams.
    QTimer::singleShot(0, notifier_.get(), [weak = std::weak_ptr<Channel*>(self_)] {
        if (const auto self = weak.lock()) (*self)->pump();
    });
}

}  // namespace platform::net
