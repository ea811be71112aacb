// The SMTP control's stand-in: server, account and password, open, send one message, close.
#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>

#include "platform/mail/Message.h"
#include "platform/net/WinsockErrors.h"

namespace platform::mail {

class SmtpControl {
public:
    std::string HostName;  // "host", or "host:port" to leave the default port
    std::string UserName;  // login account; no login when empty or when the server offers none
    std::string Password;
    int Port = 25;
    // One bound on the whole attempt: connection, greeting, every reply (the one to the end
    // of the message included) and the QUIT.
    int TimeoutSeconds = 60;
    // Asked at every pass of the wait for the server; false ends the wait at once and the send
    // fails with net::wsaInterrupted (the program is ending).
    std::function<bool()> KeepWaiting;

    // Checks that a server is named; the connection itself is made by the first send.
    Failure Connect();
    // One SMTP exchange on a worker thread: greeting, EHLO, STARTTLS and login when offered,
    // MAIL, one RCPT per To and Cc address, DATA, QUIT. Meanwhile the calling thread runs its
    // event loop. It returns once the server has taken the message (the QUIT then ends on the
    // worker), refused it, or let the bound pass. Every refused recipient fails the message.
    Failure Send(const Message& message);
    void Disconnect();
    bool Connected() const { return connected_; }

private:
    bool connected_ = false;
};

// While one lives, every send is bounded by its limit when that is shorter than the control's:
// a stop must end before whoever waits for it gives up.
class ScopedSendLimit {
public:
    explicit ScopedSendLimit(std::chrono::seconds limit);
    ~ScopedSendLimit();
    ScopedSendLimit(const ScopedSendLimit&) = delete;
    ScopedSendLimit& operator=(const ScopedSendLimit&) = delete;

private:
    std::optional<std::chrono::seconds> previous_;
};

}  // namespace platform::mail
