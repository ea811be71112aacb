// Winsock control stand-in over a native datagram socket: whole datagrams, Windows-1252 bytes to UTF-8 text.
#include "platform/net/WinsockUdp.h"

#include "platform/Cp1252.h"
#include "platform/SystemInfo.h"

namespace platform::net {

RaisedError WinsockUdp::Bind() {
    if (channel_.isOpen()) return raised(wsaInvalidArgument);
    if (const int32_t e = checkPort(LocalPort)) return raised(e);
    if (const int32_t e = channel_.bind(QHostAddress(QHostAddress::AnyIPv4), uint16_t(LocalPort)))
        return raised(e);
    channel_.onPending = [this] {
        if (DataArrival) DataArrival(int32_t(channel_.pendingSize()));
    };
    channel_.onError = [this](int32_t number) {
        if (Error) Error(number, errorText(number));
    };
    return {};
}

void WinsockUdp::Close() { channel_.close(); }

RaisedError WinsockUdp::GetData(std::string& data) {
    data.clear();
    Datagram d;
    if (const int32_t e = channel_.take(d, -1)) return raised(e);
    remoteHostIP_ = d.sender.toString().toStdString();
    remotePort_ = d.senderPort;
    data = cp1252::toUtf8(std::string_view(d.bytes.constData(), size_t(d.bytes.size())));
    return {};
}

std::string WinsockUdp::LocalIP() const {
    // The machine's address, as the control tells it, bound or not; a machine without a
    // network has its loopback one.
    const std::string host = system::hostIPv4Address();
    return host.empty() ? "127.0.0.1" : host;
}

int32_t WinsockUdp::BoundPort() const { return channel_.localPort(); }

}  // namespace platform::net
