// Windows command-line splitting: quotes group, 2n backslashes before a quote give n and the
// quote toggles grouping, 2n+1 give n and a literal quote, "" inside quotes is one quote.
#include "platform/process/CommandLine.h"

namespace platform::process {

std::vector<std::string> splitCommandLine(std::string_view text) {
    std::vector<std::string> args;
    std::string current;
    bool inArgument = false, quoted = false;
    for (size_t i = 0; i < text.size();) {
        const char c = text[i];
        if (!quoted && (c == ' ' || c == '\t')) {
            if (inArgument) args.push_back(current);
            current.clear();
            inArgument = false;
            ++i;
            continue;
        }
        inArgument = true;
        if (c == '\\') {
            size_t count = 0;
            while (i < text.size() && text[i] == '\\') ++count, ++i;
            if (i < text.size() && text[i] == '"') {
                current.append(count / 2, '\\');
                if (count % 2) {
                    current += '"';
                    ++i;
                }
            } else {
                current.append(count, '\\');
            }
        } else if (c == '"') {
            if (quoted && i + 1 < text.size() && text[i + 1] == '"') {
                current += '"';
                i += 2;
            } else {
                quoted = !quoted;
                ++i;
            }
        } else {
            current += c;
            ++i;
        }
    }
    if (inArgument) args.push_back(current);
    return args;
}

}  // namespace platform::process
