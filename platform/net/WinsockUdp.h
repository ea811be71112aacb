// The Winsock control stand-in (UDP): binds on every address of LocalPort, raises its errors.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/net/Channel.h"
#include "platform/net/WinsockErrors.h"

namespace platform::net {

class WinsockUdp {
public:
    enum State { sckClosed = 0, sckOpen = 1, sckError = 9 };

    int64_t LocalPort = 0;

    // What the control raises comes back as the error (number 0 when none).
    RaisedError Bind();
    void Close();
    // The whole pending datagram.
    RaisedError GetData(std::string& data);

    State state() const { return channel_.isOpen() ? sckOpen : sckClosed; }
    std::string LocalIP() const;  // the machine's IPv4 address, not the bound 0.0.0.0
    int32_t BoundPort() const;
    std::string RemoteHostIP() const { return remoteHostIP_; }
    int32_t RemotePort() const { return remotePort_; }

    // Raised once per pending datagram, with its size, and on an asynchronous error.
    std::function<void(int32_t bytesTotal)> DataArrival;
    std::function<void(int32_t number, const std::string& description)> Error;
    // The control's connection events (Close, Connect, ConnectionRequest): a connection is
    // TCP's, so this UDP stand-in never raises them.
    std::function<void()> Closed;
    std::function<void()> Connected;
    std::function<void(int32_t requestId)> ConnectionRequest;

private:
    Channel channel_;
    std::string remoteHostIP_;
    int32_t remotePort_ = 0;
};

}  // namespace platform::net
