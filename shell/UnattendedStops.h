// The stops nobody attends: a stop signal is the task manager's close, the end of the desktop
// session is Windows shutting down. Neither waits on a box.
#pragma once

namespace platform::forms {
class Form;
}

namespace shell {

// Once the main window exists: a stop signal (one held since start included) or the session's
// end unloads it in that close mode; every box such a stop answers is one line of the log.
void installUnattendedStops(platform::forms::Form& mainWindow);

// What the end of the desktop session does: the stop begins, then the close as Windows ending.
void endOfSession(platform::forms::Form& mainWindow);

// The close mode of the stop under way: Windows ending for the session's end, else the task
// manager's. A question such a stop answered closes the window in this mode.
int unattendedCloseMode();

}  // namespace shell
