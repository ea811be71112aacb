// Splitting a Windows parameter text into the argument list it stands for.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform::process {

// Blanks separate arguments, double quotes group them, a backslash escapes a quote
// (the rules Windows programs read their command line by).
std::vector<std::string> splitCommandLine(std::string_view text);

}  // namespace platform::process
