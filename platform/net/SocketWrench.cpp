// SocketWrench stand-in over a native datagram socket: results as Winsock numbers, text as Windows-1252
// bytes.
#include "platform/net/SocketWrench.h"

#include <algorithm>
#include <cerrno>

#include <sys/socket.h>

#include "platform/Cp1252.h"
#include "platform/net/HostLookup.h"
#include "platform/net/WinsockErrors.h"

namespace platform::net {

int32_t SocketWrench::result(int32_t error) {
    lastError_ = error;
    return error;
}

int32_t SocketWrench::Bind(const std::string& localAddress, int64_t localPort, int protocol) {
    if (protocol != kProtocolUdp) return result(wsaInvalidArgument);
    if (const int32_t e = checkPort(localPort)) return result(e);
    QHostAddress address;
    if (const int32_t e = literalIPv4(localAddress, address)) return result(e);
    if (const int32_t e = channel_.bind(address, uint16_t(localPort))) return result(e);
    listen();
    return result(wsaOk);
}

int32_t SocketWrench::Connect(const std::string& remoteHost, int64_t remotePort, int protocol) {
    if (protocol != kProtocolUdp) return result(wsaInvalidArgument);
    if (remotePort == 0) return result(wsaAddressNotAvailable);
    if (const int32_t e = checkPort(remotePort)) return result(e);
    QHostAddress address;
    if (const int32_t e = literalIPv4(remoteHost, address)) return result(e);
    if (const int32_t e = channel_.connect(address, uint16_t(remotePort))) return result(e);
    remoteAddress_ = address.toString().toStdString();
    remotePort_ = int32_t(remotePort);
    listen();
    return result(wsaOk);
}

void SocketWrench::listen() {
    channel_.onPending = [this] {
        if (!blocking_ && OnRead) OnRead();
    };
    channel_.onError = [this](int32_t code) {
        if (OnError) OnError(code, errorText(code));
    };
}

int32_t SocketWrench::Disconnect() {
    ++resolveTicket_;
    channel_.close();  // nothing to do on a closed socket
    return result(wsaOk);
}

void SocketWrench::Resolve(const std::string& hostName, Resolved done) {
    const uint64_t ticket = ++resolveTicket_;
    const std::string name = QString::fromStdString(hostName).trimmed().toStdString();
    HostLookup::instance().lookup(
        name, lifetime_.get(), [this, ticket, done = std::move(done)](int32_t error, const QHostAddress& a) {
            if (ticket != resolveTicket_) return;
            result(error);
            done(error, error ? std::string() : a.toString().toStdString());
        });
}

int32_t SocketWrench::Read(std::string& buffer, int32_t maxLength) {
    buffer.clear();
    if (!channel_.isOpen()) return failed(wsaNotConnected);
    if (injectedReadError_ != 0) {
        channel_.noteRead();
        const int32_t e = injectedReadError_;
        injectedReadError_ = 0;
        return failed(e);
    }
    Datagram d;
    if (const int32_t e = channel_.take(d, std::max(maxLength, 0))) return failed(e);
    remoteAddress_ = d.sender.toString().toStdString();
    remotePort_ = d.senderPort;
    buffer = cp1252::toUtf8(std::string_view(d.bytes.constData(), size_t(d.bytes.size())));
    result(wsaOk);
    return int32_t(d.bytes.size());
}

int32_t SocketWrench::Write(const std::string& text, int32_t length) {
    if (!channel_.isOpen()) return failed(wsaNotConnected);
    std::string bytes = cp1252::fromUtf8(text);
    if (length >= 0 && size_t(length) < bytes.size()) bytes.resize(size_t(length));
    // Sent on the native socket, whose errno tells a refused peer (an ICMP port unreachable
    // from an earlier datagram) from the rest; Qt reports it as an unknown error.
    const int fd = channel_.descriptor();
    ssize_t n;
    do {
        n = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    } while (n < 0 && errno == EINTR);
    if (n < 0) return failed(fromErrno(errno));
    result(wsaOk);
    return int32_t(n);
}

int32_t SocketWrench::failed(int32_t error) {
    lastError_ = error;
    return -1;
}

std::string SocketWrench::LastErrorString() const { return errorText(lastError_); }

std::string SocketWrench::LocalAddress() const {
    return channel_.isOpen() ? channel_.localAddress().toString().toStdString() : "";
}

int32_t SocketWrench::LocalPort() const { return channel_.localPort(); }

}  // namespace platform::net
