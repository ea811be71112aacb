// Errno and Qt socket errors become the numbers a Windows socket control reports.
#include "platform/net/WinsockErrors.h"

#include <cerrno>

namespace platform::net {

int32_t fromErrno(int error) {
    switch (error) {
        case 0:
            return wsaOk;
        case EACCES:
        case EPERM:
            return wsaAccess;
        case EINVAL:
            return wsaInvalidArgument;
        case EAGAIN:
            return wsaWouldBlock;
        case ENOTSOCK:
        case EBADF:
            return wsaNotSocket;
        case EMSGSIZE:
            return wsaMsgTooBig;
        case EADDRINUSE:
            return wsaAddressInUse;
        case EADDRNOTAVAIL:
            return wsaAddressNotAvailable;
        case ENETDOWN:
            return wsaNetworkDown;
        case ENETUNREACH:
            return wsaNetworkUnreachable;
        case ECONNREFUSED:  // an ICMP port-unreachable on a datagram socket
        case ECONNRESET:
            return wsaConnectionReset;
        case ENOBUFS:
        case ENOMEM:
            return wsaNoBufferSpace;
        case ENOTCONN:
            return wsaNotConnected;
        case EHOSTUNREACH:
            return wsaHostUnreachable;
        default:
            return wsaInvalidArgument;
    }
}

int32_t fromSocketError(QAbstractSocket::SocketError error) {
    switch (error) {
        case QAbstractSocket::ConnectionRefusedError:
        case QAbstractSocket::RemoteHostClosedError:
            return wsaConnectionReset;
        case QAbstractSocket::HostNotFoundError:
            return wsaHostNotFound;
        case QAbstractSocket::SocketAccessError:
            return wsaAccess;
        case QAbstractSocket::SocketResourceError:
            return wsaNoBufferSpace;
        case QAbstractSocket::DatagramTooLargeError:
            return wsaMsgTooBig;
        case QAbstractSocket::NetworkError:
            return wsaNetworkUnreachable;
        case QAbstractSocket::AddressInUseError:
            return wsaAddressInUse;
        case QAbstractSocket::SocketAddressNotAvailableError:
            return wsaAddressNotAvailable;
        case QAbstractSocket::TemporaryError:
            return wsaWouldBlock;
        default:
            return wsaInvalidArgument;
    }
}

std::string errorText(int32_t number) {
    switch (number) {
        case wsaOk:
            return "";
        case wsaAccess:
            return "Permission denied";
        case wsaInvalidArgument:
            return "Invalid argument";
        case wsaWouldBlock:
            return "Resource temporarily unavailable";
        case wsaNotSocket:
            return "Socket operation on non-socket";
        case wsaMsgTooBig:
            return "Message too long";
        case wsaAddressInUse:
            return "Address already in use";
        case wsaAddressNotAvailable:
            return "Cannot assign requested address";
        case wsaNetworkDown:
            return "Network is down";
        case wsaNetworkUnreachable:
            return "Network is unreachable";
        case wsaConnectionReset:
            return "Connection reset by peer";
        case wsaNoBufferSpace:
            return "No buffer space available";
        case wsaNotConnected:
            return "Socket is not connected";
        case wsaHostUnreachable:
            return "No route to host";
        case wsaHostNotFound:
            return "Host not found";
        case wsaTryAgain:
            return "Host not found, try again";
        default:
            return "Socket error " + std::to_string(number);
    }
}

RaisedError raised(int32_t number) { return {number, errorText(number)}; }

}  // namespace platform::net
