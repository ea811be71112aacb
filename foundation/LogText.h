// Outside text (datagrams, record texts, answers of servers) made safe for one log line.
#pragma once

#include <string>
#include <string_view>

namespace logtext {

// The text with its control characters shown: CR LF as "<CRLF>", a lone CR as "<CR>", a lone
// LF as "<LF>", any other (C0, DEL, C1) as "\xNN"; so a text from outside never starts a line
// of the log that looks like one of the program's own.
std::string visible(std::string_view text);

}  // namespace logtext
