// Native socket set-up (for errno and the receive buffer) handed to QUdpSocket for the events.
#include "platform/net/Channel.h"

#include <cerrno>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QTimer>

#include "platform/ScopedFlag.h"
#include "platform/net/HostLookup.h"
#include "platform/net/WinsockErrors.h"

namespace platform::net {

namespace {

int openDatagramSocket(int32_t& error) {
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        error = fromErrno(errno);
        return -1;
    }
    int size = kReceiveBufferBytes;
    ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &size, sizeof size);
    int granted = 0;
    socklen_t length = sizeof granted;
    ::getsockopt(fd, SOL_SOCKET, SO_RCVBUF, &granted, &length);
    if (granted < kReceiveBufferBytes)  // capped by rmem_max: force it where we may
        ::setsockopt(fd, SOL_SOCKET, SO_RCVBUFFORCE, &size, sizeof size);
    error = 0;
    return fd;
}

sockaddr_in endpoint(const QHostAddress& address, uint16_t port) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    a.sin_addr.s_addr = htonl(address.toIPv4Address());
    return a;
}

}  // namespace

int32_t literalIPv4(const std::string& host, QHostAddress& address) {
    const QString text = QString::fromStdString(host).trimmed();
    if (parseDottedQuad(text.toStdString(), address)) return wsaOk;
    if (text.contains(':') && QHostAddress(text).protocol() == QAbstractSocket::IPv6Protocol)
        return wsaAddressNotAvailable;
    return wsaHostNotFound;
}

int32_t checkPort(int64_t port) {
    return port < 0 || port > 65535 ? wsaAddressNotAvailable : wsaOk;
}

Channel::~Channel() { close(); }

int32_t Channel::bind(const QHostAddress& local, uint16_t port) {
    if (socket_) return wsaInvalidArgument;
    int32_t error = 0;
    const int fd = openDatagramSocket(error);
    if (fd < 0) return error;
    const sockaddr_in a = endpoint(local, port);
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&a), sizeof a) != 0) {
        error = fromErrno(errno);
        ::close(fd);
        return error;
    }
    return adopt(fd, QAbstractSocket::BoundState);
}

int32_t Channel::connect(const QHostAddress& remote, uint16_t port) {
    if (socket_) return wsaInvalidArgument;
    int32_t error = 0;
    const int fd = openDatagramSocket(error);
    if (fd < 0) return error;
    const sockaddr_in a = endpoint(remote, port);
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&a), sizeof a) != 0) {
        error = fromErrno(errno);
        ::close(fd);
        return error;
    }
    return adopt(fd, QAbstractSocket::ConnectedState);
}

int32_t Channel::adopt(int fd, QAbstractSocket::SocketState state) {
    auto* socket = new QUdpSocket;
    if (!socket->setSocketDescriptor(fd, state, QIODevice::ReadWrite)) {
        const int32_t error = fromSocketError(socket->error());
        delete socket;
        ::close(fd);
        return error;
    }
    socket_ = socket;
    QObject::connect(socket, &QUdpSocket::readyRead, socket, [this] { pump(); });
    return wsaOk;
}

void Channel::pull() {
    if (!socket_) return;
    // One read per datagram into a scratch buffer as large as any datagram can be, until a
    // read finds nothing: QUdpSocket raises readyRead again only after a read, so a
    // notification that finds the kernel empty (one that a nested event loop has already
    // served) must still end with one, or the socket is never heard again.
    scratch_.resize(65536);
    while (queuedBytes_ < kQueuedBytesLimit) {
        Datagram d;
        const qint64 n = socket_->readDatagram(scratch_.data(), qint64(scratch_.size()), &d.sender,
                                               &d.senderPort);
        if (n < 0) {
            if (socket_->error() != QAbstractSocket::TemporaryError)
                pendingError_ = fromSocketError(socket_->error());
            return;
        }
        d.bytes = QByteArray(scratch_.data(), n);
        queuedBytes_ += n;
        queued_.push_back(std::move(d));
    }
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
    if (!socket_) return wsaNotConnected;
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
    if (maxLength >= 0 && datagram.bytes.size() > maxLength) datagram.bytes.truncate(maxLength);
    return wsaOk;
}

void Channel::close() {
    queued_.clear();
    queuedBytes_ = 0;
    pendingError_ = 0;
    if (!socket_) return;
    QUdpSocket* socket = socket_;
    socket_ = nullptr;
    socket->disconnect();
    socket->close();  // frees the port now; the object goes once its own signal has returned
    socket->deleteLater();
}

int Channel::receiveBufferSize() const {
    if (!socket_) return 0;
    int size = 0;
    socklen_t length = sizeof size;
    ::getsockopt(int(socket_->socketDescriptor()), SOL_SOCKET, SO_RCVBUF, &size, &length);
    return size;
}

void Channel::pump() {
    if (!socket_) return;
    pull();  // whatever the kernel holds moves here at every event, however long the queue
    if (inEvent_) {
        raisedMeanwhile_ = true;  // raised again once the running handler returns
        return;
    }
    if (!onPending || !hasPending()) return;
    QPointer<QUdpSocket> raisedOn = socket_;
    readsInEvent_ = 0;
    raisedMeanwhile_ = false;
    {
        const ScopedFlag inEvent(inEvent_);
        onPending();
    }
    if (raisedOn && raisedOn == socket_ && (readsInEvent_ > 0 || raisedMeanwhile_) && hasPending())
        schedulePump();
}

void Channel::schedulePump() {
    // Queued, so timers and other sockets get their turn between two datagrams.
    QTimer::singleShot(0, socket_.data(), [weak = std::weak_ptr<Channel*>(self_)] {
        if (const auto self = weak.lock()) (*self)->pump();
    });
}

}  // namespace platform::net
