// Winsock error numbers and texts, and the mapping from the host's errno and Qt's socket errors.
#pragma once

#include <cstdint>
#include <string>

#include <QAbstractSocket>

namespace platform::net {

enum WinsockError : int32_t {
    wsaOk = 0,
    wsaInterrupted = 10004,
    wsaAccess = 10013,
    wsaInvalidArgument = 10022,
    wsaWouldBlock = 10035,
    wsaNotSocket = 10038,
    wsaMsgTooBig = 10040,
    wsaAddressInUse = 10048,
    wsaAddressNotAvailable = 10049,
    wsaNetworkDown = 10050,
    wsaNetworkUnreachable = 10051,
    wsaConnectionReset = 10054,
    wsaNoBufferSpace = 10055,
    wsaNotConnected = 10057,
    wsaTimedOut = 10060,
    wsaConnectionRefused = 10061,
    wsaHostUnreachable = 10065,
    wsaHostNotFound = 11001,
    wsaTryAgain = 11002,  // no answer from the name server in time
};

// An error as the Winsock control raises it; number 0 means none.
struct RaisedError {
    int32_t number = 0;
    std::string description;
    explicit operator bool() const { return number != 0; }
};

int32_t fromErrno(int error);
int32_t fromSocketError(QAbstractSocket::SocketError error);
// The control's own text for a number ("" for 0).
std::string errorText(int32_t number);
RaisedError raised(int32_t number);

}  // namespace platform::net
