// Finding and ending processes by image name, scoped as taskkill is on a machine of one install.
#pragma once

#include <string_view>
#include <vector>

#include "platform/process/Process.h"

namespace platform::process {

// Processes whose executable is named imageName (".exe" and letter case ignored), run by this
// user from the caller's own program folder; never the calling process itself.
std::vector<Pid> processesByImageName(std::string_view imageName);

// Kills those processes at once (as "taskkill /f /im") and returns how many were ended.
int endByImageName(std::string_view imageName);

}  // namespace platform::process
