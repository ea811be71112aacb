// SIGTERM, SIGINT and SIGHUP reach the program as the task manager's close of its main window.
#pragma once

#include <functional>

namespace taskmanager {

// The handler runs on the user-interface thread, once per signal received.
void installCloseHandler(std::function<void()> close);

}  // namespace taskmanager
