// The SMTP control's stand-in: server, account and password, open, send one message, close.
#pragma once

#include <functional>
#include <string>

#include "platform/mail/Message.h"

namespace platform::mail {

class SmtpControl {
public:
    std::string HostName;  // "host", or "host:port" to leave the default port
    std::string UserName;  // login account; no login when empty or when the server offers none
    std::string Password;
    int Port = 25;
    int TimeoutSeconds = 60;  // for the whole exchange of one message
    // Runs between network events while a message goes out, so the program stays alive.
    std::function<void()> WhileWaiting;

    // Checks that a server is named; the connection itself is made by the first send.
    Failure Connect();
    // One SMTP exchange: greeting, EHLO, STARTTLS and login when offered, MAIL, one RCPT per
    // To and Cc address, DATA, QUIT. Every refused recipient fails the whole message.
    Failure Send(const Message& message);
    void Disconnect();
    bool Connected() const { return connected_; }

private:
    bool connected_ = false;
};

}  // namespace platform::mail
