// SIGTERM, SIGINT and SIGHUP: the task manager's close of a windows program.
#pragma once

#include <atomic>
#include <functional>

class QObject;

namespace platform::stopsignals {

// The first thing main does: from here on these signals never end the process at once; each
// waits until onStop has a close to hand it to.
void hold();

// Set by the handler itself, so a wait that lets no events run can give up before the close.
std::atomic<bool>& raised();

// Once the windows exist: close runs on the user-interface thread for a signal (one held since
// hold() included). First the dialog seam begins the stop, so no box waits for an answer; close
// runs once the boxes it closed have returned to their callers. The watch lives as long as
// owner, the window that close acts on.
void onStop(QObject& owner, std::function<void()> close);

// Back to the start of the process: the signals act as before hold(), none raised, no close
// waiting for them.
void resetStopSignals();

}  // namespace platform::stopsignals
