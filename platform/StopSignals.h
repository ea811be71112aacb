// SIGTERM, SIGINT and SIGHUP: the task manager's close of a windows program.
#pragma once

#include <atomic>
#include <functional>

namespace platform::stopsignals {

// The first thing main does: from here on these signals never end the process at once; each
// waits until onStop has a close to hand it to.
void hold();

// Set by the handler itself, so a wait that lets no events run can give up before the close.
std::atomic<bool>& raised();

// Once the windows exist: close runs on the user-interface thread, after the event that carried
// a signal (one held since hold() included). Before it is posted the dialog seam has begun the
// stop, so no box waits for an answer.
void onStop(std::function<void()> close);

}  // namespace platform::stopsignals
