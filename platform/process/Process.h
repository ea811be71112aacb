// Starting programs and documents from an argument list, their exit codes, waits and ends.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace platform::process {

using Pid = int32_t;
inline constexpr int32_t StillActive = 259;  // the exit code of a process that still runs

enum class StartError {
    None,
    FileNotFound,
    PathNotFound,
    AccessDenied,
    NotExecutable,
    NoAssociation,
    OutOfResources
};

struct StartRequest {
    std::string file;                    // Windows or host path of a program, document or URL
    std::vector<std::string> arguments;  // passed as they are: no shell ever splits them
    std::string workingFolder;           // empty: the caller's current folder
};

struct Started {
    Pid pid = 0;
    StartError error = StartError::None;
    std::string reason;  // what went wrong, for the caller's log line
    bool ok() const { return error == StartError::None; }
};

// Starts without waiting. An executable runs as it is, a ".bat" or ".cmd" under /bin/sh from a
// copy without carriage returns (the file itself is never touched), anything else (a document,
// a URL) through the desktop's opener "xdg-open" when there is one.
Started start(const StartRequest& request);

// The program of that name in the first folder of PATH that holds it; empty when none does.
std::string programOnPath(const std::string& name);

// The launcher's result as the Windows shell numbers it: above 32 when started, else
// 2 file not found, 3 path not found, 5 access denied, 8 out of memory, 11 not an executable,
// 31 no application for the document.
int32_t shellCode(const Started& started);

// StillActive while the process runs; its exit code once it ended (128 + the signal when a
// signal ended it); 0 for a process that is not ours and cannot be followed any more.
int32_t exitCode(Pid pid);

// Waits without spinning, in short sleeps, until the process ends, the time-out passes
// (negative: no limit) or keepWaiting, called between sleeps, returns false. Measured on the
// monotonic clock. Returns the exit code, or StillActive.
int32_t waitForExit(Pid pid, std::chrono::milliseconds timeout,
                    const std::function<bool()>& keepWaiting = {});

// Asks the process to end (SIGTERM), and kills it once the grace period has passed.
// True when it is gone.
bool endProcess(Pid pid, std::chrono::milliseconds grace);

// Collects the exit codes of started children that ended, so none stays a zombie.
void reapFinished();

}  // namespace platform::process
