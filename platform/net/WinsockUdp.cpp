// Winsock control stand-in over QUdpSocket: whole datagrams, Windows-1252 bytes to UTF-8 text.
#include "platform/net/WinsockUdp.h"

#include <algorithm>
#include <vector>

#include "platform/Cp1252.h"

namespace platform::net {

RaisedError WinsockUdp::Bind() {
    if (channel_.isOpen()) return raised(wsaInvalidArgument);
    if (const int32_t e = checkPort(LocalPort)) return raised(e);
    if (const int32_t e = channel_.bind(QHostAddress(QHostAddress::AnyIPv4), uint16_t(LocalPort)))
        return raised(e);
    channel_.onPending = [this] {
        if (DataArrival) DataArrival(int32_t(channel_.socket()->pendingDatagramSize()));
    };
    QObject::connect(channel_.socket(), &QAbstractSocket::errorOccurred, channel_.socket(),
                     [this](QAbstractSocket::SocketError error) {
                         if (error == QAbstractSocket::TemporaryError || !Error) return;
                         const int32_t number = fromSocketError(error);
                         Error(number, errorText(number));
                     });
    return {};
}

void WinsockUdp::Close() { channel_.close(); }

RaisedError WinsockUdp::GetData(std::string& data) {
    data.clear();
    if (!channel_.isOpen()) return raised(wsaNotConnected);
    channel_.noteRead();
    QUdpSocket* socket = channel_.socket();
    if (!socket->hasPendingDatagrams()) return raised(wsaWouldBlock);
    std::vector<char> bytes(size_t(std::max<qint64>(socket->pendingDatagramSize(), 0)) + 1);
    QHostAddress sender;
    quint16 senderPort = 0;
    const qint64 n = socket->readDatagram(bytes.data(), qint64(bytes.size()), &sender, &senderPort);
    if (n < 0) return raised(fromSocketError(socket->error()));
    remoteHostIP_ = sender.toString().toStdString();
    remotePort_ = senderPort;
    data = cp1252::toUtf8(std::string_view(bytes.data(), size_t(n)));
    return {};
}

std::string WinsockUdp::LocalIP() const {
    return channel_.isOpen() ? channel_.socket()->localAddress().toString().toStdString() : "";
}

int32_t WinsockUdp::BoundPort() const {
    return channel_.isOpen() ? channel_.socket()->localPort() : 0;
}

}  // namespace platform::net
