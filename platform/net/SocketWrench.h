// The SocketWrench socket stand-in: a datagram socket that binds (receiver) or connects (sender).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/net/Channel.h"

namespace platform::net {

class SocketWrench {
public:
    static constexpr int kProtocolUdp = 17;

    // Operations return 0 when done, else the Winsock number (also kept as LastError). Bind
    // and Connect take a dotted address: a name gives 11001 at once (Resolve it first).
    int32_t Bind(const std::string& localAddress, int64_t localPort, int protocol);
    int32_t Connect(const std::string& remoteHost, int64_t remotePort, int protocol);
    // Also drops a Resolve still running.
    int32_t Disconnect();
    // Looks the name up off the event loop (HostLookup); done runs later with 0 and the
    // dotted address, or the Winsock number (also LastError). A later Resolve or a Disconnect
    // drops an earlier lookup's answer; so does the end of the socket.
    using Resolved = std::function<void(int32_t result, const std::string& address)>;
    void Resolve(const std::string& hostName, Resolved done);

    // Datagram read: at most maxLength characters (the rest of the datagram is lost).
    // Returns the count, or -1 with LastError set.
    int32_t Read(std::string& buffer, int32_t maxLength);
    // Sends the first `length` characters of text as one datagram; the count, or -1.
    int32_t Write(const std::string& text, int32_t length);

    // Read events are raised only in non-blocking mode; reads never wait.
    void setBlocking(bool blocking) { blocking_ = blocking; }
    bool Blocking() const { return blocking_; }
    bool IsClosed() const { return !channel_.isOpen(); }

    int32_t LastError() const { return lastError_; }
    std::string LastErrorString() const;
    std::string LocalAddress() const;
    int32_t LocalPort() const;
    std::string RemoteAddress() const { return remoteAddress_; }
    int32_t RemotePort() const { return remotePort_; }
    int ReceiveBufferSize() const { return channel_.receiveBufferSize(); }

    // The next Read fails with this number (Linux never gives 10054 or 10035 on a bound
    // datagram socket, so tests and drills raise them here).
    void failNextRead(int32_t winsockError) { injectedReadError_ = winsockError; }

    // Raised once per pending datagram (OnRead) and on an asynchronous error (OnError).
    std::function<void()> OnRead;
    std::function<void(int32_t code, const std::string& description)> OnError;
    // The control's other events. This stand-in raises none of them: nothing here puts a
    // sender in non-blocking mode, where connect and write are signalled, and a datagram
    // socket never accepts, is cancelled, reports progress, times out or sees its peer go.
    std::function<void()> OnAccept, OnCancel, OnConnect, OnDisconnect, OnProgress, OnTimeout, OnWrite;

private:
    int32_t result(int32_t error);
    int32_t failed(int32_t error);  // -1, the error kept
    void listen();

    Channel channel_;
    std::unique_ptr<QObject> lifetime_ = std::make_unique<QObject>();  // outlives no answer
    uint64_t resolveTicket_ = 0;  // the answer of the last Resolve that still counts
    bool blocking_ = true;
    int32_t lastError_ = 0;
    int32_t injectedReadError_ = 0;
    std::string remoteAddress_;
    int32_t remotePort_ = 0;
};

}  // namespace platform::net
