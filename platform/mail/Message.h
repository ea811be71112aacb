// The mail-message control's stand-in: one message, and its MIME text for the SMTP control.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Clock.h"
#include "platform/VbErrors.h"

namespace platform::mail {

struct Address {
    std::string name;  // display name; the address stands alone when empty or the same
    std::string address;
};

struct Message {
    LocalClockTime date{};
    std::string subject;
    std::string body;        // lines end with CR LF
    std::string attachment;  // Windows path of the one attached file, or empty
    Address from;
    std::vector<Address> to;
    std::vector<Address> cc;
};

// A failed step of the controls: a number (an SMTP reply code, a Winsock number or one of the
// control's own) and what went wrong. Number 0 means done.
struct Failure {
    int32_t number = 0;
    std::string description;
    explicit operator bool() const { return number != 0; }
};

// The control's own failure numbers; a missing attachment raises vb::kFileNotFound and a send
// without an open connection vb::kUnexpectedFailure.
inline constexpr int32_t kBadAddress = 501;
inline constexpr int32_t kNoRecipient = 503;

// The address as it goes on the wire: surrounding blanks dropped; empty when it holds a
// character that would break a header or the envelope.
std::string cleanAddress(const std::string& address);

// The message as RFC 5322 text: UTF-8, header texts as RFC 2047 words (control characters
// become blanks, so no text adds a header), CR LF lines, a quoted-printable body, the attachment
// in base64 named as RFC 2231 does.
Failure Compose(const Message& message, std::string& text);

}  // namespace platform::mail
