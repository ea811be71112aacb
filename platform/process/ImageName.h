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

// Asks those processes to end (SIGTERM: our programs take it as the task manager's close) and
// returns the ones asked.
std::vector<Pid> askToEndByImageName(std::string_view imageName);
// Those of pids that still run the image (a number another program took over is not one).
std::vector<Pid> stillRunningImage(std::string_view imageName, const std::vector<Pid>& pids);
// Kills those of pids that still run the image, waits for them as endByImageName does, and
// returns the ones killed.
std::vector<Pid> killStillRunningImage(std::string_view imageName, const std::vector<Pid>& pids);

}  // namespace platform::process
