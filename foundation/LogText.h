// Outside text (datagrams, record texts, answers of servers) made safe for one log line.
#pragma once

#include <string>
#include <string_view>

namespace logtext {

// The text with its control characters shown: CR LF as "<CRLF>", a lone CR as "<CR>", a lone
// LF as "<LF>", any other (C0, DEL, C1) as "\xNN"; so a text from outside never starts a line
// of the log that looks like one of the program's own. A backslash or "<" that would read as
// one of those forms ("\x0D", "<CR>" sent as text) is shown as "\x5C" or "\x3C", so that every
// form read back means one text only; any other backslash stays as it is (Windows paths).
std::string visible(std::string_view text);

}  // namespace logtext
